#pragma once

#include <map>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "simulation/managers/PlayerInfo.h"

namespace Zarn {

// The player infos of one game by client ID. Used by the thread that owns the
// game (the client's main thread, or the server thread for the server's own).
class PlayerInfoManager : public Convinience::MultiClientCreator {
public:
    explicit PlayerInfoManager(bool nameNewPlayers = false) : nameNewPlayers(nameNewPlayers) {}

    // Adds number 0 and the name "Player#<id>" (or an empty name when
    // nameNewPlayers is off); a client that has an info keeps it.
    void addClient(u32 clientId) override;
    void removeClient(u32 clientId) override { infos_.erase(clientId); }

    // Logs at CRITICAL and throws Convinience::Error "no such player info" for
    // an unknown client.
    PlayerInfo& getInfo(u32 clientId);
    const PlayerInfo& getInfo(u32 clientId) const;
    bool hasInfo(u32 clientId) const { return infos_.count(clientId) != 0; }
    const std::map<u32, PlayerInfo>& all() const { return infos_; }

    bool nameNewPlayers;

private:
    std::map<u32, PlayerInfo> infos_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
