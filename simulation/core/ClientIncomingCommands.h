#pragma once

#include <memory>

#include "foundation/Command.h"
#include "foundation/CommandHeader.h"
#include "foundation/Logger.h"
#include "simulation/state/ElementStateFactories.h"
#include "simulation/state/GameState.h"

namespace Zarn {

class GameStateBuffer;
class ScoreKeeperRegistry;
class Simulator;
class UnconfirmedInputTable;

// A state synchronisation from the server (commands 0 and 3): the game state
// of a tick and, after it, the score block. The scores are applied when the
// command is built; on execution the local client's acknowledged inputs leave
// the unconfirmed table, the state enters the received-state buffer and the
// simulator's tick becomes the state's. Main thread; everything referenced
// belongs to the client game core.
class StateSyncCommand : public Corvel::IncomingCommand {
public:
    StateSyncCommand(const CommandData& data, GameStateBuffer& buffer, Simulator& simulator,
                     UnconfirmedInputTable& unconfirmed)
        : IncomingCommand(data.header),
          state(data.state),
          buffer_(buffer),
          simulator_(simulator),
          unconfirmed_(unconfirmed) {}
    void execute() override;

    GameState state;

private:
    GameStateBuffer& buffer_;
    Simulator& simulator_;
    UnconfirmedInputTable& unconfirmed_;
};

// Builds the commands the server sends to a client. The states are read with
// the core's own element state factories (the client's copy of the same map).
// An unknown ID is logged at CRITICAL ("Invalid incoming client command data
// from client <id>") and thrown as Convinience::InvalidCommandDataException.
// Main thread; everything referenced belongs to the client game core.
class ClientIncomingCommandFactory : public Convinience::CommandFactory {
public:
    ClientIncomingCommandFactory(StateFactories factories, GameStateBuffer& buffer, Simulator& simulator,
                                 UnconfirmedInputTable& unconfirmed, ScoreKeeperRegistry& scores)
        : factories_(factories),
          buffer_(buffer),
          simulator_(simulator),
          unconfirmed_(unconfirmed),
          scores_(scores) {}

    std::unique_ptr<Convinience::Command> create(const Corvel::QueuedMessage& message) override;

private:
    StateFactories factories_;
    GameStateBuffer& buffer_;
    Simulator& simulator_;
    UnconfirmedInputTable& unconfirmed_;
    ScoreKeeperRegistry& scores_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
