#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "net/IoStrand.h"
#include "net/TCPReciever.h"
#include "net/TCPSender.h"
#include "net/TcpAcceptor.h"
#include "net/UDPChannel.h"
#include "online/game/ClientGate.h"
#include "online/game/GameWorkers.h"
#include "online/game/HostedGame.h"

namespace Zarn {

// The game server process's core: the games of the lobby's instances, many
// at once, served to remote clients over TCP (reliable) and UDP (the rest),
// both on one port. The lobby tells it over a link of their own (see
// online/LobbyLink.h) which players may come to which instance; the client
// gate (online/game/ClientGate.h) holds the rules; each instance's game
// (online/game/HostedGame.h) runs on one of a few worker threads
// (online/game/GameWorkers.h).
//
// Threads: the I/O thread runs the sockets, the accepts, the gate and the
// housekeeping; the workers run the games, which send their packets from
// there. start, stop, stats and the destructor belong to the owner's thread.
//
// The host has no virtual functions of its own: the I/O thread calls it
// through a member (IoSide), so that the destructor's first act can be to
// stop that thread.
class GameServerHost {
public:
    static constexpr u32 kServerId = ClientGate::kGameServerID;
    static constexpr u32 kFirstClientId = ClientGate::kFirstClientID;
    // Bytes queued for one client's TCP connection; a client that takes no
    // more is dropped.
    static constexpr std::size_t kMaxQueuedBytes = 256 * 1024;

    struct Options {
        // "0.0.0.0" serves every interface; tests use "127.0.0.1".
        std::string address = "0.0.0.0";
        // 0: the system picks a port free for both TCP and UDP.
        u16 port = 0;
        // The maps served, by map hash: each map file's bytes.
        std::map<u32, std::string> maps;
        // The addresses from which a lobby's link is taken.
        std::vector<std::string> lobbyAddresses = {"127.0.0.1"};
        Ferro::TcpAcceptor::Limits limits;
        ClientGate::Timeouts timeouts;
        // Threads that run the games; 0: one per CPU the process may use.
        std::size_t threads = 0;
    };

    // A snapshot of the I/O thread's counts.
    struct Stats {
        std::size_t connections = 0;
        std::size_t players = 0;
        std::size_t games = 0;
        bool linked = false;
        u32 rejected = 0;
        u64 badDatagrams = 0;
        u64 refusedConnections = 0;
        u64 acceptFailures = 0;
    };

    // Binds the sockets (throws Convinience::Error "no port for both TCP and
    // UDP" when none is free) and checks that every map loads (its error
    // propagates; no maps throws "no maps to serve"). Nothing runs until
    // start.
    explicit GameServerHost(Options options);
    // Stops and joins every thread.
    ~GameServerHost();
    GameServerHost(const GameServerHost&) = delete;
    GameServerHost& operator=(const GameServerHost&) = delete;

    u16 port() const { return port_; }
    void start();
    // Stops the games, the sockets and the threads; safe more than once.
    void stop();

    // Clients disconnected for what they sent or for silence (any thread).
    u32 rejectedClients() const { return gate_->rejectedClients(); }
    // Datagrams dropped for breaking a rule (any thread).
    u64 badDatagrams() const { return gate_->badDatagrams(); }
    // The I/O thread's counts, asked on it (owner's thread, while running).
    Stats stats();

private:
    class Reader;
    class DatagramReader;
    class GameEvents;
    class GameOutlet;
    class IoSide;

    void accept(Ferro::AcceptedConnection connection);
    void housekeep();
    u64 nowMs() const;

    // I/O thread, from the TCP reader.
    void onDisconnect(const std::string& endpoint);
    // What the client gate asks of its host (ClientGate::Host), I/O thread.
    void closeConnection(const std::string& endpoint);
    void sendTo(const std::string& endpoint, std::vector<u8>&& bytes);
    bool servesMap(u32 mapHash) const;
    std::shared_ptr<HostedGame> openGame(const ZarnOnline::InstanceTerms& terms);
    void retireGame(std::shared_ptr<HostedGame> game);
    void wakeGame(HostedGame& game);
    // I/O thread: wakes the games that took records since the last time.
    void wakeGames();
    // I/O thread: a connection whose queue overflowed is dropped.
    void dropConnection(const std::string& endpoint, const std::string& why);

    Convinience::Logger logger_;
    Options options_;
    u16 port_ = 0;

    boost::asio::io_context io_;
    Ferro::IoStrand strand_{io_.get_executor()};
    std::shared_ptr<boost::asio::ip::udp::socket> udpSocket_;
    std::unique_ptr<Ferro::TcpAcceptor> acceptor_;
    ClientRoutes routes_;
    std::unique_ptr<GameWorkers> workers_;
    std::unique_ptr<GameEvents> events_;
    std::unique_ptr<GameOutlet> outlet_;
    std::unique_ptr<IoSide> ioSide_;
    std::unique_ptr<ClientGate> gate_;
    std::unique_ptr<Reader> reader_;
    std::unique_ptr<DatagramReader> datagramReader_;
    std::unique_ptr<Ferro::UDPReciever> udpReader_;
    std::unique_ptr<Ferro::UDPSender> udpSender_;
    std::unique_ptr<Ferro::TCPReciever> tcpReader_;
    std::unique_ptr<Ferro::TCPSender> tcpSender_;
    boost::asio::steady_timer housekeeping_{strand_};

    // I/O thread only.
    std::unordered_map<std::string, std::shared_ptr<boost::asio::ip::tcp::socket>> connections_;
    u64 nextGameSerial_ = 0;
    // Games to wake once the packets that are ready now have been read: one
    // wake per burst instead of one per packet.
    std::vector<std::weak_ptr<HostedGame>> toWake_;

    std::thread ioThread_;
    bool started_ = false;
    bool stopped_ = false;
};

}  // namespace Zarn
