#pragma once

#include <memory>

#include "foundation/Command.h"
#include "foundation/CommandHeader.h"
#include "foundation/CommandScheduler.h"
#include "foundation/Logger.h"
#include "simulation/state/GameState.h"

namespace Zarn {

class ClientManager;
class EndpointRegistrar;
class GameInstance;
class GameStatePacker;
class GSCommandPusher;
class InputApplier;
class MultiClientCommandPusher;
class MultiClientTickTracker;
class PlayerInfoManager;
class SpawnPoints;
class ServerStepper;
class SteerableUnitManager;

// A client's state update (command 1) or input (command 2) with the game
// state it carries: acknowledges the client's tick in the packer, applies the
// new inputs, confirms the tick, tries a step and answers with command 3 (a
// state synchronisation written by the client's pusher). A failure of the
// client's data is logged at CRITICAL and the command dropped; a failure of
// the world inside the step is the stepper's. Server thread only; everything
// referenced belongs to the server.
class InputConfirmationCommand : public Corvel::IncomingCommand {
public:
    struct Parts {
        const GameInstance& instance;
        GameStatePacker& packer;
        InputApplier& inputs;
        MultiClientTickTracker& ticks;
        ServerStepper& stepper;
    };

    InputConfirmationCommand(const Corvel::CommandHeader& header, u32 routeFrom, GameState state,
                             GSCommandPusher& pusher, const Parts& parts);
    void execute() override;

    GameState state;

private:
    u32 routeFrom_;
    GSCommandPusher& pusher_;
    Parts parts_;
    Convinience::Logger logger_;
};

// Turns each record of the server's incoming ring into a command (the
// multi-client scheduler's factory). Senders of route 10 and up must name a
// unit; the host's own records (route below 10) are trusted. Commands 1 and 2
// become InputConfirmationCommand, 8 to 11 the player commands (without an
// endpoint registrar a join logs its WARN line). An unknown
// ID is logged at CRITICAL ("Invalid commandID from packet data <id>"), data
// that is short or lies about its counts at CRITICAL ("Invalid command data
// from client <id>"); both throw Convinience::InvalidCommandDataException.
// Server thread only.
class ServerCommandFactory : public Convinience::CommandFactory {
public:
    // Player exits are queued on `ownCommands` (the command manager's own
    // record), which the executor runs before any client's record.
    ServerCommandFactory(SteerableUnitManager& units, MultiClientCommandPusher& pushers,
                         StateFactories factories, const InputConfirmationCommand::Parts& parts,
                         GameInstance& instance, ClientManager& clients,
                         Corvel::ClientCommandState& ownCommands, SpawnPoints& spawns,
                         PlayerInfoManager& infos)
        : units_(units),
          pushers_(pushers),
          factories_(factories),
          parts_(parts),
          instance_(instance),
          clients_(clients),
          ownCommands_(ownCommands),
          spawns_(spawns),
          infos_(infos) {}

    std::unique_ptr<Convinience::Command> create(const Corvel::QueuedMessage& message) override;
    // The host's registrar (not owned; null: none), handed to every join and
    // exit built afterwards. Server thread, or before the loop runs.
    void setEndpointRegistrar(EndpointRegistrar* registrar) { registrar_ = registrar; }

private:
    SteerableUnitManager& units_;
    MultiClientCommandPusher& pushers_;
    StateFactories factories_;
    InputConfirmationCommand::Parts parts_;
    GameInstance& instance_;
    ClientManager& clients_;
    // Logs at CRITICAL and throws Convinience::InvalidCommandDataException.
    [[noreturn]] void refuseData(u32 sender);
    std::unique_ptr<Convinience::Command> build(const Corvel::CommandHeader& header,
                                                const Corvel::QueuedMessage& message,
                                                Convinience::ByteReader& reader);

    Corvel::ClientCommandState& ownCommands_;
    SpawnPoints& spawns_;
    PlayerInfoManager& infos_;
    EndpointRegistrar* registrar_ = nullptr;
    Convinience::Logger logger_;
};

}  // namespace Zarn
