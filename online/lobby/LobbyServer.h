#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "foundation/CommandHeader.h"
#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/RateLimitedLog.h"
#include "net/IoStrand.h"
#include "net/TCPReciever.h"
#include "net/TCPSender.h"
#include "net/TcpAcceptor.h"
#include "online/lobby/GameServerLinks.h"
#include "online/lobby/LobbyRecords.h"

namespace ZarnLobby {

// The lobby server: accepts lobby clients over TCP, gives each a client ID
// (10 and up) and answers their quick joins and joins by instance number with
// a place in a game instance on one of its game servers.
//
// Instances: a quick join fills the lowest-numbered instance that has room
// (capacity 4 by default); when none has, a new instance opens on the live
// game server that holds the fewest players, with the next map of the
// rotation (Options::maps). The lobby grants the place to
// that game server over their link (online/LobbyLink.h) and sends the client
// its game only once the game server has taken the place; a refused place is
// answered "instance not found". A player stays in its instance until the
// game server says it left; an instance goes when its game server says its
// game ended (its room is over, or it was empty for a while) and it holds
// nobody; once its game has ended nobody new goes into it. A game server that
// goes away takes its instances with it.
//
// Fairness: each client's commands wait in a queue of their own and are
// handled a few at a time, client after client; a client with more than
// kMaxWaitingCommands waiting, or that stops taking its answers, is dropped.
// A connection that sends no command within identifyTimeoutMs is closed. A
// client that leaves gives its place back (a place not yet used is revoked at
// the game server), so no player stays listed after it has gone.
//
// Threads: everything runs on the I/O thread; start, stop, stats and the
// destructor belong to the owner's thread.
class LobbyServer : public Convinience::Reciever,
                    public Ferro::DisconnectHandler,
                    public GameServerLinks::Listener {
public:
    static constexpr u32 kFirstClientID = 10;
    static constexpr u32 kLobbyServerID = 0;
    // Commands of one client handled in one turn.
    static constexpr std::size_t kCommandsPerTurn = 2;
    static constexpr std::size_t kMaxWaitingCommands = 16;
    // Bytes queued for one client's connection.
    static constexpr std::size_t kMaxQueuedBytes = 64 * 1024;

    struct Options {
        std::string address = "0.0.0.0";
        u16 port = 0;  // 0: the system picks
        // The game servers, "HOST:PORT" each: where the lobby links to them
        // and where it sends their players.
        std::vector<std::string> games;
        // The maps of new instances, by map hash, in turn: each instance that
        // opens takes the next one (after the last, the first again).
        std::vector<u32> maps = {0, 1};
        u32 capacity = GameRoom::kDefaultCapacity;
        Ferro::TcpAcceptor::Limits limits;
        u64 identifyTimeoutMs = 30000;
    };

    // A snapshot of the I/O thread's counts.
    struct Stats {
        std::size_t clients = 0;
        std::size_t instances = 0;
        std::size_t members = 0;
        std::size_t liveServers = 0;
        u64 refusedConnections = 0;
        u64 acceptFailures = 0;
        u64 droppedClients = 0;
    };

    // Binds the port (throws boost::system::system_error when it is taken).
    explicit LobbyServer(Options options);
    ~LobbyServer() override;
    LobbyServer(const LobbyServer&) = delete;
    LobbyServer& operator=(const LobbyServer&) = delete;

    u16 port() const { return port_; }
    void start();
    // Stops the I/O thread; safe more than once.
    void stop();
    // The I/O thread's counts, asked on it (owner's thread, while running).
    Stats stats();

    // I/O thread: a packet from a connection.
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override;
    // I/O thread: a connection ended.
    void onDisconnect(const std::string& endpoint) override;

private:
    struct Client {
        u32 id = 0;
        std::string endpoint;
        ClientStatus status;
        u64 connectedAtMs = 0;
        bool spoke = false;
        std::deque<std::vector<u8>> waiting;  // command bytes, oldest first
        bool queued = false;                  // in the turn order
        u32 nextNumber = 1;
        u32 instanceID = 0;
    };
    struct Member {
        Zarn::PlayerInfo player;
        bool placed = false;  // the game server took the place
        bool gone = false;    // the client left; the place is being revoked
    };
    struct Instance {
        u32 id = 0;
        u32 mapHash = 0;
        std::size_t server = 0;
        std::vector<Member> members;
        // Its game has ended (its room is over) while players are still in
        // it: nobody new goes in, and it goes with its last player.
        bool over = false;
    };

    void accept(Ferro::AcceptedConnection connection);
    void postTurn();
    void turn();
    void handle(Client& client, const std::vector<u8>& bytes);
    void join(Client& client, u32 instanceNumber, const std::string& name, u32 replyTo);
    // The instance a quick join goes into, opening one when none has room;
    // null when no game server is live.
    Instance* placeQuickJoin();
    void sendGame(Client& client, const Instance& instance);
    void sendNotFound(Client& client, u32 replyTo);
    void push(Client& client, Corvel::CommandHeader header, const std::vector<u8>& data = {});
    Member* memberOf(Instance& instance, u32 clientID);
    void removeMember(Instance& instance, u32 clientID);
    // Closes the connection and forgets the client (its place goes back).
    void drop(const std::string& endpoint, const std::string& why);
    void forget(const std::string& endpoint);
    void housekeep();
    u64 nowMs() const;

    // GameServerLinks::Listener (I/O thread), for the links only.
    void linkUp(std::size_t server, u32 otherPlayers) override;
    void linkDown(std::size_t server) override;
    void linkMessage(std::size_t server, const ZarnOnline::LinkMessage& message) override;

    Options options_;
    Convinience::Logger logger_;
    Convinience::RateLimitedLog limited_;

    // I/O thread only.
    std::unordered_map<std::string, Client> clients_;  // by endpoint
    std::unordered_map<u32, std::string> endpointOf_;
    std::deque<u32> ready_;  // clients with waiting commands, in turn order
    bool turnPosted_ = false;
    std::map<u32, Instance> instances_;
    u32 nextInstanceID_ = 1;
    std::size_t nextMap_ = 0;
    u32 nextClientID_ = kFirstClientID;
    u64 droppedClients_ = 0;

    boost::asio::io_context io_;
    Ferro::IoStrand strand_{io_.get_executor()};
    std::unique_ptr<Ferro::TcpAcceptor> acceptor_;
    u16 port_ = 0;
    std::unordered_map<std::string, std::shared_ptr<boost::asio::ip::tcp::socket>> sockets_;
    Ferro::TCPSender tcpSender_;
    Ferro::TCPReciever tcpReader_{strand_, *this};
    std::unique_ptr<GameServerLinks> links_;
    boost::asio::steady_timer housekeeping_{strand_};

    std::thread ioThread_;
    bool started_ = false;
    bool stopped_ = false;
};

}  // namespace ZarnLobby
