#pragma once

#include <memory>
#include <vector>

#include "foundation/Command.h"
#include "foundation/CommandScheduler.h"
#include "foundation/Logger.h"
#include "online/lobby/LobbyCommands.h"

namespace ZarnLobby {

// Builds the commands the user issues: 0 create room, 5 join room, 12 ready,
// 17 start game; with data, 20 quick join and 28 join instance. Any other ID
// is logged at WARN and answers null.
class ClientLocalCommandFactory : public Convinience::IDBasedCommandFactory {
public:
    explicit ClientLocalCommandFactory(const LobbyContext& context) : context_(context) {}

    std::unique_ptr<Convinience::Command> create(u32 commandID) override;
    std::unique_ptr<Convinience::Command> createWithData(u32 commandID, const std::vector<u8>& data);

private:
    LobbyContext context_;
    Convinience::Logger logger_;
};

// Builds the commands the lobby server sends (1, 8, 11, 13, 16, 19, 21, 29)
// from a received message: the 17-byte header, then the payload. Other IDs
// are logged at WARN and answer null; bytes that cannot be parsed throw
// Convinience::InvalidCommandDataException.
class ClientCommandFactory : public Convinience::CommandFactory {
public:
    explicit ClientCommandFactory(const LobbyContext& context) : context_(context) {}

    std::unique_ptr<Convinience::Command> create(const Corvel::QueuedMessage& message) override;

private:
    LobbyContext context_;
    Convinience::Logger logger_;
};

}  // namespace ZarnLobby
