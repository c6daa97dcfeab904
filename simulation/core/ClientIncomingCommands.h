#pragma once

#include <memory>

#include "foundation/Command.h"
#include "foundation/CommandHeader.h"
#include "foundation/Logger.h"
#include "simulation/core/ClientPlayerCommands.h"
#include "simulation/state/ElementStateFactories.h"
#include "simulation/state/GameState.h"

namespace Zarn {

class CheckpointFollower;
class GameStateBuffer;
class ScoreKeeperRegistry;
class Simulator;
class UnconfirmedInputTable;

// A state synchronisation from the server (commands 0 and 3): the game state
// of a tick and, after it, the score block. The scores are applied when the
// command is built; on execution the local client's acknowledged inputs leave
// the unconfirmed table, the state enters the received-state buffer and, when
// the buffer filed it, the simulator's tick becomes the state's (a duplicate,
// or a delta whose base is not held, leaves the tick as it was) and the
// checkpoint follower, when there is one, follows the filed state. Main thread; everything referenced
// belongs to the client game core.
class StateSyncCommand : public Corvel::IncomingCommand {
public:
    StateSyncCommand(const CommandData& data, GameStateBuffer& buffer, Simulator& simulator,
                     UnconfirmedInputTable& unconfirmed, CheckpointFollower* checkpoints = nullptr)
        : IncomingCommand(data.header),
          state(data.state),
          buffer_(buffer),
          simulator_(simulator),
          unconfirmed_(unconfirmed),
          checkpoints_(checkpoints) {}
    void execute() override;

    GameState state;

private:
    GameStateBuffer& buffer_;
    Simulator& simulator_;
    UnconfirmedInputTable& unconfirmed_;
    CheckpointFollower* checkpoints_;
};

// Builds the commands the server sends to a client: 0 and 3 state
// synchronisations, 8 a player joined, 9 a player left, 12 the game instance,
// 13 players kicked, 14 this client's exit confirmed. The states are read with
// the core's own element state factories (the client's copy of the same map).
// An unknown ID, and data that is short or lies about its counts, are logged
// at CRITICAL ("Invalid incoming client command data from client <id>") and
// thrown as Convinience::InvalidCommandDataException; 8, 9, 12 and 13 without
// an input manager throw Convinience::Error "Command factory cannot create if
// InputManager is null". Main thread; everything referenced belongs to the
// client game core (see ClientPlayerParts for the rest).
class ClientIncomingCommandFactory : public Convinience::CommandFactory {
public:
    struct Players {
        GameInstance& instance;
        GameWorld& world;
        PlayerInfoManager& infos;
        ChatLineQueue& chat;
    };

    ClientIncomingCommandFactory(StateFactories factories, GameStateBuffer& buffer, Simulator& simulator,
                                 UnconfirmedInputTable& unconfirmed, ScoreKeeperRegistry& scores,
                                 const Players& players)
        : factories_(factories),
          buffer_(buffer),
          simulator_(simulator),
          unconfirmed_(unconfirmed),
          scores_(scores),
          players_(players) {}

    std::unique_ptr<Convinience::Command> create(const Corvel::QueuedMessage& message) override;

    // The owning client's, outlives the core; null until set.
    void setInputManager(InputManager* inputs) { inputs_ = inputs; }
    // The scene's; the scene unsets it before it goes. Null until set.
    void setGameNotifier(ZarnGameNotifier* notifier) { notifier_ = notifier; }
    // The core's; handed to every state synchronisation. Null until set.
    void setCheckpointFollower(CheckpointFollower* follower) { checkpoints_ = follower; }
    ZarnGameNotifier* gameNotifier() const { return notifier_; }

private:
    std::unique_ptr<Convinience::Command> build(const Corvel::CommandHeader& header,
                                                const Corvel::QueuedMessage& message,
                                                Convinience::ByteReader& payload);
    ClientPlayerParts playerParts();

    StateFactories factories_;
    GameStateBuffer& buffer_;
    Simulator& simulator_;
    UnconfirmedInputTable& unconfirmed_;
    ScoreKeeperRegistry& scores_;
    Players players_;
    InputManager* inputs_ = nullptr;
    ZarnGameNotifier* notifier_ = nullptr;
    CheckpointFollower* checkpoints_ = nullptr;
    Convinience::Logger logger_;
};

}  // namespace Zarn
