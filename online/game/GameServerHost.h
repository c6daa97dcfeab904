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
#include "online/game/ClientGate.h"
#include "simulation/server/EndpointRegistrar.h"
#include "simulation/sync/MultiClientTickTracker.h"

namespace Zarn {

class ZarnServer;

// The game server process's core: one room of a map, served to remote
// clients over TCP (reliable) and UDP (the rest), both on one port.
//
// A client connects by TCP from the port its UDP socket uses; its packets
// then pass the client gate (online/game/ClientGate.h), which holds the rules
// of what a client may send and disconnects a client that breaks them, sends
// bytes that do not parse, or is kicked for lagging: its unit leaves the game
// and the others play on. Packets from endpoints with no accepted connection
// are dropped. Each game runs with the server's ID as its fromID from the
// start, and its trap spawners draw from a fresh seed that the game instance
// carries to the clients.
//
// A game ends by itself when its last player has left (the server's shutdown
// countdown); the host then closes the remaining connections and starts a
// fresh game of the same map when the next client knocks.
//
// Threads: the I/O thread runs the sockets and the gate (the one producer of
// the server's incoming ring); the game thread runs the server loop; the pump
// thread moves the server's outgoing records to the send ring and answers the
// server's requests to the host; the send thread sends. start, stop and the
// destructor belong to the owner's thread.
class GameServerHost : public Convinience::Wakeable,
                       public Ferro::DisconnectHandler,
                       public ClientGate::Host {
public:
    // The server's own client ID (the games' fromID).
    static constexpr u32 kServerId = ClientGate::kServerId;
    static constexpr u32 kFirstClientId = ClientGate::kFirstClientId;
    static constexpr std::size_t kRingSlots = 513;

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
    u32 rejectedClients() const { return gate_->rejectedClients(); }
    // Games that have run to their end by themselves (any thread).
    u32 finishedGames() const { return finishedGames_.load(); }

private:
    class Reader;
    class Registrar;
    class Kicker;

    void accept();
    void runGames();
    void runPump();
    bool pumpOnce();
    void answerHost(const Corvel::QueuedMessage& record);

    // I/O thread only.
    void screen(const u8* bytes, std::size_t size, const std::string& endpoint);
    void closeAll();
    // ClientGate::Host, I/O thread.
    void joinWaiting() override;
    void wakeGame() override;
    void closeConnection(const std::string& endpoint) override;

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
    std::unique_ptr<Reader> reader_;
    // I/O thread only, but for its rejection count.
    std::unique_ptr<ClientGate> gate_;
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

    std::atomic<u32> finishedGames_{0};
    std::thread ioThread_;
    std::thread sendThread_;
    std::thread pumpThread_;
    std::thread gameThread_;
    bool started_ = false;
    bool stopped_ = false;
};

}  // namespace Zarn
