#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "online/LobbyLink.h"
#include "online/game/GameServerHost.h"
#include "online/lobby/LobbyServer.h"

namespace zarn_test {

// The lobby's side of the link to a game server, driven by a test on its own
// thread with blocking calls: it connects (from 127.0.0.1), says hello and
// waits for the welcome; grants places and waits for the answers; reads what
// the game server tells. Every wait gives up after `timeout`.
class LobbyStandIn {
public:
    // Connects to the game server on loopback and waits for its welcome;
    // linked() tells whether it came.
    explicit LobbyStandIn(u16 gameServerPort, std::chrono::milliseconds timeout = std::chrono::seconds(10));

    bool linked() const { return linked_; }
    // Grants the client a place in the instance for its address and waits
    // for the answer: true for placed, false for a refusal (player left) or
    // no answer. Messages that come first are kept for next().
    bool grant(const ZarnOnline::InstanceTerms& instance, const Zarn::PlayerInfo& player,
               const std::string& address = "127.0.0.1");
    void revoke(u32 instanceID, u32 clientID);
    // The next message from the game server, or nothing within the timeout.
    std::optional<ZarnOnline::LinkMessage> next();
    // Sends raw bytes on the link (for hostile tests).
    void sendRaw(const std::vector<u8>& bytes);
    void close();

private:
    std::optional<ZarnOnline::LinkMessage> read();
    void send(const ZarnOnline::LinkMessage& message);

    boost::asio::io_context io_;
    boost::asio::ip::tcp::socket socket_;
    std::chrono::milliseconds timeout_;
    std::vector<ZarnOnline::LinkMessage> kept_;
    u32 number_ = 0;
    bool linked_ = false;
};

// A game server on loopback (a port the system picks) with a stand-in for
// its lobby, so that a test can announce its clients as the lobby would.
class TestGameServer : public Zarn::GameServerHost {
public:
    // Starts the server with the options (address 127.0.0.1) and links the
    // stand-in.
    explicit TestGameServer(Zarn::GameServerHost::Options options);

    // "127.0.0.1:port".
    std::string endpoint() const;
    // The lobby's announce of a player from 127.0.0.1: true once the game
    // server has taken the place.
    bool admit(u32 clientID, u8 number = 0, const std::string& name = "", u32 instanceID = 1, u32 mapHash = 0,
               u32 capacity = 4);
    LobbyStandIn& lobby() { return *lobby_; }

private:
    std::unique_ptr<LobbyStandIn> lobby_;
};

// The game server's side of the link, for lobby tests that need no game:
// listens on loopback, welcomes the lobby and answers every grant with
// placed (or, after refuseAll, with player left), keeping what it was told.
// Runs its own I/O thread; the test reads through the accessors.
class GameServerStandIn {
public:
    GameServerStandIn();
    ~GameServerStandIn();
    GameServerStandIn(const GameServerStandIn&) = delete;
    GameServerStandIn& operator=(const GameServerStandIn&) = delete;

    u16 port() const { return port_; }
    std::string endpoint() const { return "127.0.0.1:" + std::to_string(port_); }
    // Every message the lobby sent, in order (any thread).
    std::vector<ZarnOnline::LinkMessage> received() const;
    // Answers further grants with player left.
    void refuseAll() { refuse_ = true; }
    // Tells the lobby that a player left its instance.
    void playerLeft(u32 instanceID, u32 clientID);
    // Tells the lobby that the game of its instance has ended (its room is
    // over, or it closed).
    void gameEnded(u32 instanceID);
    // Ends the link (the lobby sees its game server go) and takes no more.
    void close();

private:
    void tell(u32 kind, u32 instanceID, u32 clientID);
    struct State;
    std::shared_ptr<State> state_;
    u16 port_ = 0;
    std::atomic<bool> refuse_{false};
    std::thread thread_;
};

// Whether the lobby has a live link to each of its `servers` game servers
// within ten seconds.
bool linked(ZarnLobby::LobbyServer& lobby, std::size_t servers = 1);

// A game server serving one room under map hash 0 (and 1), started.
std::unique_ptr<TestGameServer> startTestGameServer(const std::string& mapBytes);
std::unique_ptr<TestGameServer> startTestGameServer(std::map<u32, std::string> maps);

}  // namespace zarn_test
