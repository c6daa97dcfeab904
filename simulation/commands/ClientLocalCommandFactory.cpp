#include "simulation/commands/ClientLocalCommandFactory.h"

#include <string>

#include "foundation/Error.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/commands/LocalCommands.h"

namespace Zarn {

std::unique_ptr<Convinience::Command> ClientLocalCommandFactory::create(u32 commandId) {
    switch (commandId) {
        case LocalCommandId::stateUpdate:
            return std::make_unique<StateUpdateCommand>(*pusher_, *gameFromId_, localClientID);
        case LocalCommandId::input:
            return std::make_unique<InputCommand>(*pusher_, localClientID, *gameFromId_);
        case LocalCommandId::exitGame:
            return std::make_unique<ClientExitGameCommand>(*producer_, localClientID, *gameFromId_, *pusher_);
        default:
            logger_.log(Convinience::severity::critical,
                        "Invalid local commandID " + std::to_string(commandId));
            throw Convinience::Error("Invalid Command ID");
    }
}

}  // namespace Zarn
