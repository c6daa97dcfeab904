#include "simulation/core/ClientIncomingCommands.h"

#include <string>

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "foundation/QueuedMessage.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/state/InputTables.h"
#include "simulation/sync/GameStateBuffer.h"
#include "world/steering/SteerableSimulator.h"

namespace Zarn {

void StateSyncCommand::execute() {
    unconfirmed_.eraseAcknowledged(header.clientId, state.ackedInputs);
    buffer_.store(state);
    simulator_.tickCount = state.tick;
}

std::unique_ptr<Convinience::Command> ClientIncomingCommandFactory::create(
    const Corvel::QueuedMessage& message) {
    Convinience::ByteReader reader(message.bytes);
    Convinience::ByteReader headerReader(message.bytes);
    const Corvel::CommandHeader header(headerReader);
    switch (header.commandId) {
        case 0:
        case 3: {
            const CommandData data(reader, factories_);
            if (!reader.atEnd()) scores_.applyScores(reader);
            return std::make_unique<StateSyncCommand>(data, buffer_, simulator_, unconfirmed_);
        }
        case 8:
        case 9:
        case 12:
        case 13:
        case 14:
            logger_.log(
                3, "Command " + std::to_string(header.commandId) + " is not served by this client, dropped");
            return nullptr;
        default:
            logger_.log(
                4, "Invalid incoming client command data from client " + std::to_string(header.clientId));
            throw Convinience::InvalidCommandDataException(
                "Invalid incoming client command data from client " + std::to_string(header.clientId));
    }
}

}  // namespace Zarn
