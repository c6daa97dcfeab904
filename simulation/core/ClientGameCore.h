#pragma once

#include <functional>
#include <istream>

#include "foundation/CommandScheduler.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "simulation/commands/ClientLocalCommandFactory.h"
#include "simulation/commands/FixedRateProducer.h"
#include "simulation/core/ChatLineQueue.h"
#include "simulation/core/CheckpointFollower.h"
#include "simulation/core/ClientIncomingCommands.h"
#include "simulation/core/GameWorld.h"
#include "simulation/core/StatePlaybackTicker.h"
#include "simulation/managers/InputManager.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scores/MoneyScoreKeeper.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/server/GameInstance.h"
#include "simulation/state/ElementStateFactories.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/state/InputTables.h"
#include "simulation/state/StateInterpolator.h"
#include "simulation/sync/GSCommandPusher.h"
#include "simulation/sync/GameStateBuffer.h"

namespace Zarn {

class AchievementTracker;

// The client half of the simulation: the client's copy of the room, the
// players' units, the commands received from the server and those it sends
// (one per tick: a state update, or an input), the playback of received
// states and the detection of the level's end. The two rings belong to the
// owning client and outlive the core; the input manager is the owning
// client's (set before the first update). Main thread only.
class ClientGameCore {
public:
    ClientGameCore(Corvel::MessageQueue& incoming, Corvel::MessageQueue& outgoing);
    ClientGameCore(const ClientGameCore&) = delete;
    ClientGameCore& operator=(const ClientGameCore&) = delete;

    void setLocalClientID(u32 id);
    void setTickDelta(float dt);
    void setInputManager(InputManager* inputs);
    void addPlayer(u32 clientId);
    // Copies the instance and gives the world its spawn seed, then gives
    // every player record it lists a player info with the record's client
    // ID, number and name.
    void setGameInstance(const GameInstance& instance);
    void loadMap(std::istream& stream);
    // One frame (dt seconds): received commands drained, this frame's local
    // commands produced, commands executed, playback advanced, end detected.
    void update(float dt);

    // How far the playback stays behind the newest received state, in
    // milliseconds: the ticker waits for that many ticks' states (truncated,
    // at the current tick delta). Set after the tick delta; a later tick
    // delta returns to the default playback.
    void setPlaybackLatency(u32 milliseconds) { ticker_.setLatency(milliseconds); }
    void setExitHandler(std::function<void()> handler) { exiter_.exitHandler = std::move(handler); }
    // The level ends for this client (the exit handler runs) once every
    // player's unit has left it (state 17) for `delaySeconds` of frames,
    // rather than once the local player's own unit has. After
    // setLocalClientID, which chooses the local unit alone.
    void setSharedExit(float delaySeconds) {
        exiter_.singleClient = false;
        exiter_.delay = delaySeconds;
    }
    void setNextLocalCommand(u32 commandId) { producer_.nextCommandID = commandId; }
    // The scene's; told of players joining and leaving and of the confirmed
    // exit. Null unsets it (the scene does before it goes).
    void setGameNotifier(ZarnGameNotifier* notifier) { incomingFactory_.setGameNotifier(notifier); }
    // The single-play scene's, when a platform service is installed; asked for
    // the player's achievements each frame once the platform is ready. Null
    // (the default) tracks nothing. The tracker outlives its attachment.
    void setAchievementTracker(AchievementTracker* tracker) { achievements_ = tracker; }

    u32 localClientID() const { return localClientId_; }
    const GameInstance& gameInstance() const { return instance_; }
    ClientIncomingCommandFactory& incomingCommands() { return incomingFactory_; }
    GameWorld& world() { return world_; }
    InputManager* inputManager() { return inputs_; }
    PlayerInfoManager& playerInfos() { return playerInfos_; }
    ScoreKeeperRegistry& scores() { return scores_; }
    GameStateBuffer& stateBuffer() { return buffer_; }
    const StatePlaybackTicker& playbackTicker() const { return ticker_; }
    // The pusher of this client's commands to the server (onto the outgoing
    // ring).
    GSCommandPusher& commandPusher() { return pusher_; }
    const ZarnExiter& exiter() const { return exiter_; }

private:
    AchievementTracker* achievements_ = nullptr;
    GameInstance instance_;
    u32 localClientId_ = 0;
    Convinience::Logger logger_;
    GameWorld world_;
    InputManager* inputs_ = nullptr;
    ZarnExiter exiter_{world_.units};
    ScoreKeeperRegistry scores_;
    PlayerInfoManager playerInfos_;
    MoneyScoreKeeper money_{world_.units, world_.money};
    RawTrapStateFactory trapStates_{world_.store};
    NumberedElementStateFactoryImpl elementStates_{world_.numbered};
    StateInterpolator interpolator_{world_.units, &world_.store, &world_.numbered, &world_.dialogs};
    GameStateBuffer buffer_;
    CheckpointFollower checkpoints_{world_.numbered, world_.spawnPoints, world_.map.grid};
    StatePlaybackTicker ticker_{buffer_, interpolator_};
    UnconfirmedInputTable unconfirmed_;
    GameStateCapture capture_{world_.units, world_.simulator};
    GSCommandPusher pusher_;
    ClientIncomingCommandFactory incomingFactory_;
    Corvel::ClientCommandState commands_;
    Corvel::ClientCommandCursor cursor_{&commands_, 0};
    // The local factory is declared next; the producer only keeps its address.
    FixedRateProducer producer_{commands_.immediate, &localFactory_};
    ClientLocalCommandFactory localFactory_{pusher_, producer_, instance_.fromID};
    Corvel::SingleClientCommandScheduler scheduler_;
};

}  // namespace Zarn
