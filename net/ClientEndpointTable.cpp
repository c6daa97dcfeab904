#include "net/ClientEndpointTable.h"

#include "net/Endpoint.h"

namespace Ferro {

bool ClientEndpointTable::OneToOne::insert(u32 id, const std::string& endpoint) {
    if (byId.count(id) != 0 || byEndpoint.count(endpoint) != 0) return false;
    byId.emplace(id, endpoint);
    byEndpoint.emplace(endpoint, id);
    return true;
}

void ClientEndpointTable::OneToOne::erase(u32 id) {
    const auto it = byId.find(id);
    if (it == byId.end()) return;
    byEndpoint.erase(it->second);
    byId.erase(it);
}

bool ClientEndpointTable::assign(u32 id, const std::string& endpoint) {
    if (!parseEndpoint(endpoint)) throw InvalidEndpointStringException();
    std::lock_guard lock(mutex_);
    reliable_.erase(id);
    unreliable_.erase(id);
    const bool reliableInserted = reliable_.insert(id, endpoint);
    const bool unreliableInserted = unreliable_.insert(id, endpoint);
    return reliableInserted && unreliableInserted;
}

bool ClientEndpointTable::getReliableEndpoint(u32 id, std::string& out) const {
    std::lock_guard lock(mutex_);
    const auto it = reliable_.byId.find(id);
    if (it == reliable_.byId.end()) return false;
    out = it->second;
    return true;
}

bool ClientEndpointTable::getUnreliableEndpoint(u32 id, std::string& out) const {
    std::lock_guard lock(mutex_);
    const auto it = unreliable_.byId.find(id);
    if (it == unreliable_.byId.end()) return false;
    out = it->second;
    return true;
}

bool ClientEndpointTable::getEndpoints(u32 id, EndpointPair& out) const {
    std::lock_guard lock(mutex_);
    const auto reliable = reliable_.byId.find(id);
    if (reliable == reliable_.byId.end()) return false;
    out.reliable = reliable->second;
    const auto unreliable = unreliable_.byId.find(id);
    out.unreliable = unreliable != unreliable_.byId.end() ? unreliable->second : std::string();
    return true;
}

u32 ClientIDResolver::resolve(const std::string& endpoint, const Packet1337Header& header) const {
    std::string stored;
    const bool found = header.isReliable() ? table_->getReliableEndpoint(header.senderClientId, stored)
                                           : table_->getUnreliableEndpoint(header.senderClientId, stored);
    if (!found || stored != endpoint) return kInvalidClientId;
    return header.senderClientId;
}

}  // namespace Ferro
