#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CommandPusher.h"
#include "foundation/CommandScheduler.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "online/lobby/LobbyCommandFactories.h"

namespace ZarnLobby {

// The lobby logic of one client: its status, its room, the pusher of its
// outgoing commands, the scheduler of the received ones and the two command
// factories. Every member is used on one thread (the one that calls update);
// the queues are shared with the transport's threads.
//
// Received commands run in the order they arrived (lowest command number
// first), so that a command that depends on one received in the same frame
// finds it done.
class ClientLobbyState {
public:
    // outgoing, incoming and commands outlive the state; loader may be null.
    ClientLobbyState(Corvel::MessageQueue& outgoing, Corvel::MessageQueue& incoming,
                     Corvel::ClientCommandState& commands, ClientGameLoader* loader);
    ClientLobbyState(const ClientLobbyState&) = delete;
    ClientLobbyState& operator=(const ClientLobbyState&) = delete;

    // Back to LOITERING with no client ID and no room.
    void reset();
    // Builds the user's command (with data for 20 and 28) and files it to run
    // at the next update. False for an ID the local factory does not know.
    bool issue(u32 localCommandID, const std::vector<u8>& data = {});
    // Takes up to 256 received messages, runs the due commands in arrival
    // order, then the issued ones, and trims the histories.
    void update();

    // Takes the notices for the panel, oldest first.
    std::vector<std::string> takeNotices();

    Convinience::Logger logger;
    ClientStatus status;
    Zarn::PlayerInfo playerInfo;
    std::unique_ptr<GameRoom> room;
    ClientGameLoader* loader;
    std::deque<std::string> notices;
    Corvel::CommandPusher pusher;

private:
    LobbyContext context();

    Corvel::ClientCommandState* commands_;
    Corvel::ClientCommandCursor cursor_;
    Corvel::SingleClientCommandScheduler scheduler_;
    ClientCommandFactory factory_;
    ClientLocalCommandFactory localFactory_;
};

}  // namespace ZarnLobby
