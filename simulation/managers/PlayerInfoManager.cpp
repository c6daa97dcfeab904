#include "simulation/managers/PlayerInfoManager.h"

#include <string>

#include "foundation/Error.h"

namespace Zarn {

void PlayerInfoManager::addClient(u32 clientId) {
    if (infos_.count(clientId) != 0) return;
    infos_.emplace(
        clientId,
        PlayerInfo(clientId, 0, nameNewPlayers ? "Player#" + std::to_string(clientId) : std::string()));
}

PlayerInfo& PlayerInfoManager::getInfo(u32 clientId) {
    auto it = infos_.find(clientId);
    if (it == infos_.end()) {
        logger_.log(Convinience::severity::critical,
                    "Critical error no player info for clientID " + std::to_string(clientId));
        throw Convinience::Error("no such player info");
    }
    return it->second;
}

const PlayerInfo& PlayerInfoManager::getInfo(u32 clientId) const {
    return const_cast<PlayerInfoManager*>(this)->getInfo(clientId);
}

}  // namespace Zarn
