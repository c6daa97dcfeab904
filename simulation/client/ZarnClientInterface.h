#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

class ClientGameCore;
class DialogPlayer;
class InputManager;
class InteractiveElementStore;
class NumberedElementGroup;
class PlayerInfoManager;
class ScoreKeeperRegistry;
class SpawnPoints;
class SteerableUnitManager;
class Trap;
class TrapFactory;
class ZarnGameNotifier;
struct GameMap;

using TrapList = std::vector<std::unique_ptr<Trap>>;

// The client an in-game scene drives each frame: loads the room, ticks the
// game and hands out the client game core's parts. Implemented by the
// single-play client (in-process server) and the networked client. Main
// thread only; everything it hands out is the client's own copy, never data
// a server thread works on.
class ZarnClientInterface {
public:
    virtual ~ZarnClientInterface() = default;

    // Map errors propagate to the caller.
    virtual void loadMap(std::istream& stream) = 0;
    // One frame; dt in seconds.
    virtual void update(float dt) = 0;
    // The command ID the core's producer emits at its next tick (2 input, 9 leave).
    virtual void setNextLocalCommand(u32 commandID) = 0;
    virtual void addPlayer(u32 clientID) = 0;
    virtual u32 getLocalClientID() = 0;
    // Run once when nobody plays any more.
    virtual void setExitHandler(std::function<void()> handler) = 0;
    // Not owned; the scene keeps it alive while the client runs.
    virtual void setGameNotifier(ZarnGameNotifier* notifier) = 0;

    // Accessors into the client; they never fail and the references live as
    // long as the client.
    virtual InputManager& getInputManager() = 0;
    virtual ClientGameCore& getCore() = 0;
    virtual SteerableUnitManager& getSteerableUnitManager() = 0;
    virtual InteractiveElementStore& getInteractiveElementStore() = 0;
    virtual GameMap& getGameMap() = 0;
    virtual TrapList& getTraps() = 0;
    virtual DialogPlayer& getDialogPlayer() = 0;
    virtual NumberedElementGroup& getNumberedElements() = 0;
    virtual TrapFactory& getTrapFactory() = 0;
    // The client's own spawn points; a single-play client must not hand out
    // the in-process server's while the server thread runs.
    virtual SpawnPoints& getSpawnPoints() = 0;
    virtual PlayerInfoManager& getPlayerInfoManager() = 0;
    virtual ScoreKeeperRegistry& getScoreKeeperRegistry() = 0;
};

}  // namespace Zarn
