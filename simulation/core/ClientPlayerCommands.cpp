#include "simulation/core/ClientPlayerCommands.h"

#include "simulation/client/ZarnGameNotifier.h"
#include "simulation/core/ChatLineQueue.h"
#include "simulation/core/GameWorld.h"
#include "simulation/managers/InputManager.h"
#include "simulation/managers/PlayerInfoManager.h"

namespace Zarn {

namespace {
constexpr u32 kWarn = 2;
}  // namespace

void ClientAddPlayerCommand::execute() {
    const u32 id = data.player.clientID;
    SteerableUnitManager& units = parts_.world.units;
    if (units.hasClient(id)) {
        // Known already (from a game instance, 12, or an earlier join): the
        // server's newest record stands, and whatever shows the player is
        // told; nobody is told of the join twice.
        parts_.infos.addClient(id);
        PlayerInfo& known = parts_.infos.getInfo(id);
        if (known.name == data.player.name && known.number == data.player.number) {
            logger_.log(kWarn, "Attempting to add client " + std::to_string(id) + " that already exists");
            return;
        }
        known.clientID = id;
        known.number = data.player.number;
        known.name = data.player.name;
        if (parts_.notifier) parts_.notifier->playerChanged(id);
        return;
    }
    parts_.instance.players.insert(id);
    SteerableUnit& unit = parts_.world.addPlayer(id);
    parts_.infos.addClient(id);
    PlayerInfo& info = parts_.infos.getInfo(id);
    info.clientID = id;
    info.number = data.player.number;
    info.name = data.player.name;
    unit.body().position = GeometryLib::FPoint(data.position);
    parts_.inputs.addClient(id);
    if (parts_.notifier) parts_.notifier->playerJoined(id);
    parts_.chat.post(info.name + " has joined the game");
}

void ClientPlayerExitCommand::execute() {
    for (u32 id : clientIDs) {
        const std::string name = parts_.infos.getInfo(id).name;
        if (!parts_.world.units.hasClient(id)) {
            logger_.log(kWarn, "Attemping to remove client " + std::to_string(id) + " that doesn't exist");
            return;
        }
        parts_.instance.players.erase(id);
        if (parts_.notifier) parts_.notifier->playerLeft(id);
        parts_.world.removePlayer(id);
        parts_.infos.removeClient(id);
        parts_.inputs.removeClient(id);
        parts_.chat.post(name + suffix_);
    }
}

void GameInstanceConfirmCommand::execute() {
    std::vector<u32> added;
    for (u32 id : confirmed.players) {
        if (parts_.instance.players.count(id) == 0) added.push_back(id);
    }
    for (u32 id : added) {
        if (id == header.clientId) continue;
        parts_.world.addPlayer(id);
        parts_.inputs.addClient(id);
        // The notifier's listeners read the player's info: the instance's
        // record of the player, else a nameless one that a later 8 fills.
        parts_.infos.addClient(id);
        for (const PlayerInfo& record : confirmed.playerInfos)
            if (record.clientID == id) parts_.infos.getInfo(id) = record;
        if (parts_.notifier) parts_.notifier->playerJoined(id);
    }
    parts_.instance = confirmed;
    parts_.world.setSpawnSeed(confirmed.spawnSeed);
}

void ClientExitGameConfirmCommand::execute() {
    if (notifier_) notifier_->gameNotification();
}

}  // namespace Zarn
