#include "net/ClientEndpointTable.h"

#include "net/Endpoint.h"

namespace Ferro {

bool ClientEndpointTable::OneToOne::insert(u32 id, const std::string& endpoint) {
    if (byId.count(id) != 0 || byEndpoint.count(endpoint) != 0) return false;
    byId.emplace(id, endpoint);
    byEndpoint.emplace(endpoint, id);
    return true;
}

bool ClientEndpointTable::OneToOne::erase(u32 id) {
    const auto it = byId.find(id);
    if (it == byId.end()) return false;
    byEndpoint.erase(it->second);
    byId.erase(it);
    return true;
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

bool ClientEndpointTable::remove(u32 id) {
    std::lock_guard lock(mutex_);
    const bool reliable = reliable_.erase(id);
    const bool unreliable = unreliable_.erase(id);
    return reliable || unreliable;
}

bool ClientEndpointTable::OneToOne::find(u32 id, std::string& out) const {
    const auto it = byId.find(id);
    if (it == byId.end()) return false;
    out = it->second;
    return true;
}

bool ClientEndpointTable::getReliableEndpoint(u32 id, std::string& out) const {
    std::lock_guard lock(mutex_);
    return reliable_.find(id, out);
}

bool ClientEndpointTable::getUnreliableEndpoint(u32 id, std::string& out) const {
    std::lock_guard lock(mutex_);
    return unreliable_.find(id, out);
}

bool ClientEndpointTable::getEndpoints(u32 id, EndpointPair& out) const {
    std::lock_guard lock(mutex_);
    if (!reliable_.find(id, out.reliable)) return false;
    if (!unreliable_.find(id, out.unreliable)) out.unreliable.clear();
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
