#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Command.h"
#include "foundation/CommandHeader.h"
#include "foundation/CommandPusher.h"
#include "foundation/Logger.h"
#include "online/lobby/ClientGameLoader.h"
#include "online/lobby/LobbyHeaders.h"
#include "online/lobby/LobbyRecords.h"

namespace ZarnLobby {

// Command IDs on the lobby connection.
namespace lobby_command {
inline constexpr u32 createRoom = 0;
inline constexpr u32 roomEntered = 1;
inline constexpr u32 roomEnteredReply = 2;
inline constexpr u32 joinRoom = 5;
inline constexpr u32 verifyMap = 8;
inline constexpr u32 mapVerified = 9;
inline constexpr u32 mapNotVerified = 10;
inline constexpr u32 startGame = 11;  // client to server
inline constexpr u32 loadGame = 11;   // server to client
inline constexpr u32 ready = 12;
inline constexpr u32 readyConfirmed = 13;
inline constexpr u32 gameLoaded = 15;
inline constexpr u32 startSimulation = 16;
inline constexpr u32 localStartGame = 17;  // local ID only; sent as 11
inline constexpr u32 simulationStarted = 18;
inline constexpr u32 roomSync = 19;
inline constexpr u32 quickJoin = 20;
inline constexpr u32 quickLoad = 21;
inline constexpr u32 quickLoaded = 22;
inline constexpr u32 joinInstance = 28;
inline constexpr u32 instanceNotFound = 29;
}  // namespace lobby_command

// The notices the lobby panel shows.
inline constexpr const char* kNoSuchInstanceNotice = "No such instance ID";
inline constexpr const char* kUnknownMapNotice = "The game asked for a map this copy does not have";

// The parts of the lobby state the commands read and change. Nothing is
// owned; all of it belongs to the lobby state and is used only on the thread
// that runs its update. loader may be null (loading is then skipped).
struct LobbyContext {
    ClientStatus* status = nullptr;
    std::unique_ptr<GameRoom>* roomSlot = nullptr;
    Corvel::CommandPusher* pusher = nullptr;
    ClientGameLoader* loader = nullptr;
    Zarn::PlayerInfo* playerInfo = nullptr;
    std::deque<std::string>* notices = nullptr;
};

// A command the user issues: checks the state, moves it on and sends.
class LocalLobbyCommand : public Convinience::Command {
public:
    LocalLobbyCommand(const LobbyContext& context, u32 localID, std::vector<u8> data = {})
        : context_(context), localID_(localID), data_(std::move(data)) {}
    void execute() override;

private:
    // A header from this client with the ID, reply-to 0, flag 1.
    Corvel::CommandHeader header(u32 commandID) const;
    bool requireState(u8 state, const char* error) const;

    LobbyContext context_;
    u32 localID_;
    std::vector<u8> data_;
    Convinience::Logger logger_;
};

// A command the lobby server sent. The payload is parsed on construction;
// throws Convinience::ReadPastEndError (or InvalidCommandDataException) for
// bad bytes.
class ReceivedLobbyCommand : public Corvel::IncomingCommand {
public:
    ReceivedLobbyCommand(const LobbyContext& context, const Corvel::CommandHeader& header,
                         Convinience::ByteReader& payload);
    void execute() override;

private:
    void enterRoom();
    void verifyMap();
    void loadGame();
    void readyConfirmed();
    void startSimulation();
    void syncRoom();
    void quickLoad();
    // True when this copy has the instance's map; otherwise the client is
    // back in LOITERING with a notice.
    bool knowsMap(u32 mapHash);
    void reply(u32 commandID, bool expectsConfirmation, u32 sender, u32 route1 = 0, u32 route2 = 0);

    LobbyContext context_;
    Convinience::Logger logger_;
    std::unique_ptr<GameRoom> room_;
    Zarn::MapMetadata metadata_;
    u32 readyClientID_ = 0;
    QuickJoinHeader quickJoin_;
};

}  // namespace ZarnLobby
