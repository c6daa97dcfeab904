#pragma once

#include <functional>

#include "simulation/client/ZarnClientInterface.h"
#include "simulation/core/ClientGameCore.h"

namespace Zarn {

// The part of a client that its client game core answers: the per-tick
// command choice, players, the exit handler, the notifier and the accessors
// into the core's world. The single-play and the networked client derive from
// it and add the core itself, the map load and the frame. Main thread only.
class CoreBackedClient : public ZarnClientInterface {
public:
    void setNextLocalCommand(u32 commandId) override { getCore().setNextLocalCommand(commandId); }
    void addPlayer(u32 clientId) override { getCore().addPlayer(clientId); }
    void setExitHandler(std::function<void()> handler) override {
        getCore().setExitHandler(std::move(handler));
    }
    // Handed to the core, whose received commands report to it.
    void setGameNotifier(ZarnGameNotifier* notifier) override { getCore().setGameNotifier(notifier); }
    SteerableUnitManager& getSteerableUnitManager() override { return getCore().world().units; }
    InteractiveElementStore& getInteractiveElementStore() override { return getCore().world().store; }
    GameMap& getGameMap() override { return getCore().world().map; }
    TrapList& getTraps() override { return getCore().world().traps; }
    DialogPlayer& getDialogPlayer() override { return getCore().world().dialogs; }
    NumberedElementGroup& getNumberedElements() override { return getCore().world().numbered; }
    TrapFactory& getTrapFactory() override { return getCore().world().trapFactory; }
    SpawnPoints& getSpawnPoints() override { return getCore().world().spawnPoints; }
    PlayerInfoManager& getPlayerInfoManager() override { return getCore().playerInfos(); }
    ScoreKeeperRegistry& getScoreKeeperRegistry() override { return getCore().scores(); }
};

}  // namespace Zarn
