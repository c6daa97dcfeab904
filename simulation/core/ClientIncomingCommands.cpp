#include "simulation/core/ClientIncomingCommands.h"

#include <string>

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "foundation/QueuedMessage.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/core/CheckpointFollower.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/state/InputTables.h"
#include "simulation/sync/GameStateBuffer.h"
#include "world/steering/SteerableSimulator.h"

namespace Zarn {

void StateSyncCommand::execute() {
    unconfirmed_.eraseAcknowledged(header.clientId, state.ackedInputs);
    // The tick is what the next state update acknowledges: only a state the
    // buffer holds may become the server's base for this client's deltas.
    if (!buffer_.store(state)) return;
    simulator_.tickCount = state.tick;
    if (checkpoints_) checkpoints_->follow(buffer_.states().at(state.tick));
}

namespace {
constexpr u32 kCritical = 4;
}  // namespace

ClientPlayerParts ClientIncomingCommandFactory::playerParts() {
    if (!inputs_) throw Convinience::Error("Command factory cannot create if InputManager is null");
    return ClientPlayerParts{players_.instance, players_.world, players_.infos,
                             *inputs_,          notifier_,      players_.chat};
}

std::unique_ptr<Convinience::Command> ClientIncomingCommandFactory::create(
    const Corvel::QueuedMessage& message) {
    Convinience::ByteReader reader(message.bytes);
    u32 sender = message.fromClientId;
    try {
        const Corvel::CommandHeader header(reader);
        sender = header.clientId;
        return build(header, message, reader);
    } catch (const Convinience::ReadPastEndError&) {
    } catch (const Convinience::InvalidCommandDataException&) {
    }
    const std::string text = "Invalid incoming client command data from client " + std::to_string(sender);
    logger_.log(kCritical, text);
    throw Convinience::InvalidCommandDataException(text);
}

std::unique_ptr<Convinience::Command> ClientIncomingCommandFactory::build(
    const Corvel::CommandHeader& header, const Corvel::QueuedMessage& message,
    Convinience::ByteReader& payload) {
    switch (header.commandId) {
        case ClientCommandId::stateSync:
        case ClientCommandId::stateSyncReply: {
            Convinience::ByteReader reader(message.bytes);
            const CommandData data(reader, factories_);
            if (!reader.atEnd()) scores_.applyScores(reader);
            return std::make_unique<StateSyncCommand>(data, buffer_, simulator_, unconfirmed_, checkpoints_);
        }
        case ClientCommandId::addPlayer: {
            const ClientPlayerParts parts = playerParts();
            return std::make_unique<ClientAddPlayerCommand>(header, ClientAddPlayerHeader(payload), parts);
        }
        case ClientCommandId::playerExit: {
            const ClientPlayerParts parts = playerParts();
            const Convinience::Uint32Serializable leaving(payload);
            return std::make_unique<ClientPlayerExitCommand>(header, std::vector<u32>{leaving.value},
                                                             " has left the game", parts);
        }
        case ClientCommandId::gameInstanceConfirm: {
            const ClientPlayerParts parts = playerParts();
            return std::make_unique<GameInstanceConfirmCommand>(header, GameInstance(payload), parts);
        }
        case ClientCommandId::kickPlayers: {
            const ClientPlayerParts parts = playerParts();
            KickPlayersHeader kicked(payload);
            return std::make_unique<ClientPlayerExitCommand>(header, std::move(kicked.clientIDs),
                                                             " was kicked for lagging", parts);
        }
        case ClientCommandId::exitGameConfirm:
            return std::make_unique<ClientExitGameConfirmCommand>(header, notifier_);
        default:
            throw Convinience::InvalidCommandDataException();
    }
}

}  // namespace Zarn
