#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "net/AckFieldTracker.h"
#include "net/ClientEndpointTable.h"
#include "net/DeliveryTracker.h"
#include "net/IoStrand.h"
#include "net/RecieverProcessor.h"
#include "net/SenderProcessor.h"
#include "net/TCPReciever.h"
#include "net/UDPChannel.h"
#include "simulation/server/EndpointRegistrar.h"
#include "simulation/sync/MultiClientTickTracker.h"

namespace Zarn {

class ZarnServer;

// The game server process's core: one room of a map, served to remote
// clients over TCP (reliable) and UDP (the rest), both on one port.
//
// A client connects by TCP from the port its UDP socket uses, and its first
// packet names its client ID (10 or above, not taken). The host then adds the
// player to the game (server command 8, as the lobby would) and holds the
// client's packets until the server has taken it in. From then on every
// packet must carry the 0x1337 application ID, the client's own ID as sender
// (in the packet and in the command), acknowledged sequence 0 when reliable,
// and one of the commands a client may send (1, 2, 9, 11); a command number
// that does not rise is a repeat and is dropped. A client that breaks any of
// these, sends bytes that do not parse, or is kicked for lagging is logged
// and disconnected; its unit leaves the game and the others play on. Packets
// from endpoints with no accepted connection are dropped.
//
// A game ends by itself when its last player has left (the server's shutdown
// countdown); the host then closes the remaining connections and starts a
// fresh game of the same map when the next client knocks.
//
// Threads: the I/O thread runs the sockets and every check above (the one
// producer of the server's incoming ring); the game thread runs the server
// loop; the pump thread moves the server's outgoing records to the send ring
// and answers the server's requests to the host; the send thread sends.
// start, stop and the destructor belong to the owner's thread.
class GameServerHost : public Convinience::Wakeable, public Ferro::DisconnectHandler {
public:
    // The server's own client ID (the games' fromID).
    static constexpr u32 kServerId = 1;
    static constexpr u32 kFirstClientId = 10;
    static constexpr std::size_t kRingSlots = 513;
    // Packets kept per client while its join is under way; more are dropped.
    static constexpr std::size_t kHeldLimit = 256;

    struct Options {
        // "0.0.0.0" serves every interface; tests use "127.0.0.1".
        std::string address = "0.0.0.0";
        // 0: the system picks a port free for both TCP and UDP.
        u16 port = 0;
        // The map file's bytes; every game loads them.
        std::string mapBytes;
    };

    // Binds the sockets (throws Convinience::Error "no port for both TCP and
    // UDP" when none is free) and checks that the map loads (its error
    // propagates). Nothing runs until start.
    explicit GameServerHost(Options options);
    // Stops and joins every thread.
    ~GameServerHost() override;
    GameServerHost(const GameServerHost&) = delete;
    GameServerHost& operator=(const GameServerHost&) = delete;

    u16 port() const { return port_; }
    void start();
    // Stops the game, the sockets and the threads; safe more than once.
    void stop();

    // The server's wake target (any thread): the pump moves records now.
    void wake() override;
    // I/O thread, from the TCP reader.
    void onDisconnect(const std::string& endpoint) override;

    // Clients disconnected for what they sent, since start (any thread).
    u32 rejectedClients() const { return rejected_.load(); }
    // Games that have run to their end by themselves (any thread).
    u32 finishedGames() const { return finishedGames_.load(); }

private:
    struct Peer {
        u32 id = 0;
        bool joined = false;
        u32 lastNumber = 0;
        std::vector<std::vector<u8>> held;
    };
    class Gate;
    class Registrar;
    class Kicker;

    void accept();
    void runGames();
    void runPump();
    bool pumpOnce();
    void answerHost(const Corvel::QueuedMessage& record);

    // I/O thread only.
    void screen(const u8* bytes, std::size_t size, const std::string& endpoint);
    void forward(Peer& peer, const std::vector<u8>& packet, const std::string& endpoint);
    void reject(const std::string& endpoint, const std::string& reason);
    void drop(const std::string& endpoint, bool closeSocket);
    void release(u32 clientId);
    void closeAll();
    void inject(u32 from, const std::vector<u8>& bytes);
    void wakeServer();

    Convinience::Logger logger_;
    Options options_;
    u16 port_ = 0;

    boost::asio::io_context io_;
    Ferro::IoStrand strand_{io_.get_executor()};
    Convinience::Stopwatch clock_;
    Ferro::AcknowledgementQueue acknowledgements_;
    Corvel::MessageQueue serverIncoming_{kRingSlots};
    Corvel::MessageQueue serverOutgoing_{kRingSlots};
    Corvel::MessageQueue sendRing_{kRingSlots};
    Ferro::ClientEndpointTable endpoints_;
    Ferro::ClientIDResolver resolver_{endpoints_};
    Ferro::RecieverProcessor reciever_{acknowledgements_, resolver_, &clock_, serverIncoming_};
    std::unique_ptr<Gate> gate_;
    std::shared_ptr<boost::asio::ip::udp::socket> udpSocket_;
    std::unique_ptr<boost::asio::ip::tcp::acceptor> acceptor_;
    std::unique_ptr<Ferro::UDPReciever> udpReader_;
    std::unique_ptr<Ferro::TCPReciever> tcpReader_;
    std::unique_ptr<Ferro::TCPUDPSender> channels_;
    std::unordered_map<u32, i32> ackAges_;
    Ferro::DeliveryTracker delivery_{acknowledgements_, &clock_};
    Ferro::AckFieldTracker ackFields_{&ackAges_, &delivery_.acknowledged};
    Ferro::PacketStamp stamp_{Ferro::kApplicationId, 0, &ackFields_};
    std::unique_ptr<Ferro::ReliableSenderProcessor> sender_;
    std::unique_ptr<Registrar> registrar_;
    std::unique_ptr<Kicker> kicker_;

    // I/O thread only.
    std::unordered_map<std::string, std::shared_ptr<boost::asio::ip::tcp::socket>> connections_;
    std::unordered_map<std::string, Peer> peers_;
    std::unordered_map<u32, std::string> endpointOf_;
    u32 hostNumber_ = 0;

    // The running game; guarded by gameMutex_ (the I/O thread wakes it).
    std::mutex gameMutex_;
    std::condition_variable gameWanted_;
    ZarnServer* game_ = nullptr;
    bool joinWaiting_ = false;
    bool stopping_ = false;

    std::mutex pumpMutex_;
    std::condition_variable pumpWake_;
    bool pumpWoken_ = false;
    std::atomic<bool> pumpRunning_{false};

    std::atomic<u32> rejected_{0};
    std::atomic<u32> finishedGames_{0};
    std::thread ioThread_;
    std::thread sendThread_;
    std::thread pumpThread_;
    std::thread gameThread_;
    bool started_ = false;
    bool stopped_ = false;
};

}  // namespace Zarn
