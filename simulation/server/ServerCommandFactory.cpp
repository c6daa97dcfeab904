#include "simulation/server/ServerCommandFactory.h"

#include <optional>
#include <string>

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "foundation/QueuedMessage.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/GameInstance.h"
#include "simulation/server/InputApplier.h"
#include "simulation/server/PlayerCommands.h"
#include "simulation/server/ServerStepper.h"
#include "simulation/sync/GSCommandPusher.h"
#include "simulation/sync/GameStatePacker.h"
#include "simulation/sync/MultiClientTickTracker.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

namespace {
constexpr u32 kWarn = 2;
constexpr u32 kCritical = 4;
bool isServed(u32 commandId) {
    using namespace ServerCommandId;
    return commandId == stateUpdate || commandId == input || commandId == addPlayer ||
           commandId == exitGame || commandId == setGameFromId || commandId == gameInstanceUpdate;
}
}  // namespace

InputConfirmationCommand::InputConfirmationCommand(const Corvel::CommandHeader& header, u32 routeFrom,
                                                   GameState state, GSCommandPusher& pusher,
                                                   const Parts& parts)
    : IncomingCommand(header),
      state(std::move(state)),
      routeFrom_(routeFrom),
      pusher_(pusher),
      parts_(parts) {}

void InputConfirmationCommand::execute() {
    const u32 sender = header.clientId;
    try {
        parts_.packer.acknowledge(sender, state.tick);
        parts_.inputs.apply(sender, state.inputStates);
    } catch (const std::exception& e) {
        logger_.log(kCritical, "Critical error: input of client " + std::to_string(sender) +
                                   " could not be applied, command dropped: " + e.what());
        return;
    }
    parts_.ticks.confirm(sender);
    parts_.stepper.step();
    Corvel::CommandHeader reply(sender, ClientCommandId::stateSyncReply, header.commandNumber, false);
    reply.fromClientId = parts_.instance.fromID;
    reply.toClientId = routeFrom_;
    pusher_.push(reply);
}

std::unique_ptr<Convinience::Command> ServerCommandFactory::create(const Corvel::QueuedMessage& message) {
    Convinience::ByteReader reader(message.bytes);
    std::optional<Corvel::CommandHeader> header;
    try {
        header.emplace(reader);
    } catch (const Convinience::ReadPastEndError&) {
        refuseData(message.fromClientId);
    }
    if (!isServed(header->commandId)) {
        const std::string text = "Invalid commandID from packet data " + std::to_string(header->commandId);
        logger_.log(kCritical, text);
        throw Convinience::InvalidCommandDataException(text);
    }
    try {
        return build(*header, message, reader);
    } catch (const Convinience::ReadPastEndError&) {
    } catch (const Convinience::InvalidCommandDataException&) {
    }
    refuseData(header->clientId);
}

void ServerCommandFactory::refuseData(u32 sender) {
    const std::string text = "Invalid command data from client " + std::to_string(sender);
    logger_.log(kCritical, text);
    throw Convinience::InvalidCommandDataException(text);
}

std::unique_ptr<Convinience::Command> ServerCommandFactory::build(const Corvel::CommandHeader& header,
                                                                  const Corvel::QueuedMessage& message,
                                                                  Convinience::ByteReader& reader) {
    if (message.fromClientId >= 10 && !units_.hasClient(header.clientId)) {
        logger_.log(kWarn, "invalid clientID " + std::to_string(header.clientId) +
                               " attempting to execute command, thus blocked");
        return nullptr;
    }
    GSCommandPusher& pusher = pushers_.pusherFor(header.clientId);
    switch (header.commandId) {
        case ServerCommandId::stateUpdate:
        case ServerCommandId::input:
            return std::make_unique<InputConfirmationCommand>(header, message.fromClientId,
                                                              GameState(reader, factories_), pusher, parts_);
        case ServerCommandId::addPlayer: {
            AddPlayerHeader data(reader);
            if (!registrar_) logger_.log(kWarn, "cannot add player without endpointAdder on network");
            return std::make_unique<AddPlayerCommand>(
                header, message.fromClientId, std::move(data),
                AddPlayerCommand::Parts{instance_, units_, clients_, spawns_, infos_, pushers_, registrar_});
        }
        case ServerCommandId::exitGame:
            ownCommands_.immediate.push_back(
                std::make_unique<PlayerExitCommand>(header, instance_, clients_, pushers_, registrar_));
            return nullptr;
        case ServerCommandId::setGameFromId:
            return std::make_unique<SetGameFromIDCommand>(header, message.fromClientId, reader.readU32(),
                                                          instance_, pusher);
        case ServerCommandId::gameInstanceUpdate:
            return std::make_unique<GameInstanceUpdateCommand>(
                header, message.fromClientId,
                AddPlayerCommand::Parts{instance_, units_, clients_, spawns_, infos_, pushers_, registrar_});
        default:
            return nullptr;  // not reached: create refuses unserved IDs first
    }
}

}  // namespace Zarn
