#include "online/lobby/LobbyCommandFactories.h"

#include <string>

#include "foundation/Error.h"
#include "foundation/QueuedMessage.h"

namespace ZarnLobby {

namespace id = lobby_command;

std::unique_ptr<Convinience::Command> ClientLocalCommandFactory::create(u32 commandID) {
    switch (commandID) {
        case id::createRoom:
        case id::joinRoom:
        case id::ready:
        case id::localStartGame:
            return std::make_unique<LocalLobbyCommand>(context_, commandID);
        default:
            logger_.log(Convinience::severity::warn,
                        "Invalid lobby client commandID " + std::to_string(commandID));
            return nullptr;
    }
}

std::unique_ptr<Convinience::Command> ClientLocalCommandFactory::createWithData(u32 commandID,
                                                                                const std::vector<u8>& data) {
    if (commandID == id::quickJoin || commandID == id::joinInstance) {
        return std::make_unique<LocalLobbyCommand>(context_, commandID, data);
    }
    logger_.log(Convinience::severity::warn, "Invalid lobby client commandID " + std::to_string(commandID));
    return nullptr;
}

std::unique_ptr<Convinience::Command> ClientCommandFactory::create(const Corvel::QueuedMessage& message) {
    try {
        Convinience::ByteReader reader(message.bytes);
        Corvel::CommandHeader header(reader);
        header.fromClientId = message.fromClientId;
        header.toClientId = message.toClientId;
        switch (header.commandId) {
            case id::roomEntered:
            case id::verifyMap:
            case id::loadGame:
            case id::readyConfirmed:
            case id::startSimulation:
            case id::roomSync:
            case id::quickLoad:
            case id::instanceNotFound:
                return std::make_unique<ReceivedLobbyCommand>(context_, header, reader);
            default:
                logger_.log(Convinience::severity::warn, "Invalid lobby client command data commandID " +
                                                             std::to_string(header.commandId) +
                                                             " from clientID " +
                                                             std::to_string(header.clientId));
                return nullptr;
        }
    } catch (const Convinience::ReadPastEndError& e) {
        throw Convinience::InvalidCommandDataException(e.what());
    }
}

}  // namespace ZarnLobby
