#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>

#include "foundation/CommandScheduler.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "net/AckFieldTracker.h"
#include "net/ClientEndpointTable.h"
#include "net/DeliveryTracker.h"
#include "net/IoStrand.h"
#include "net/RecieverProcessor.h"
#include "net/SenderProcessor.h"
#include "net/TCPConnector.h"
#include "net/TCPReciever.h"
#include "net/TCPSender.h"
#include "online/lobby/ClientLobbyState.h"
#include "online/lobby/LobbyAddress.h"

namespace ZarnLobby {

// The client side of the lobby: one TCP connection to the lobby server, the
// lobby state with its command pusher, scheduler and factories, and the game
// loader that the load commands call. Lobby packets travel over TCP only.
//
// Threads:
// - The I/O thread runs the connection's event loop from setLobbyEndpoint
//   (the connect) until destruction: the connect, then the reads, which fill
//   the incoming and acknowledgement rings.
// - The send thread, started by start(), drains the outgoing ring whenever
//   update() wakes it.
// - Everything else (constructor, setCallbacks, setLobbyEndpoint, start,
//   update, closeConnection, destructor, the lobby state) belongs to one
//   owner thread, the main thread in the game. The owner produces the
//   outgoing ring and consumes the incoming one.
//
// Life: construct; setCallbacks; setLobbyEndpoint (the connect starts and
// never blocks the caller; it gives up after connectTimeout); when the
// connected callback has come, start(); then update() once a frame.
// Destruction stops the event loop and the sender, joins both threads (each
// ends at once) and only then destroys the transport, in any state.
class NetworkedZarnLobbyClient {
public:
    static constexpr u32 kLobbyServerID = 0;
    static constexpr std::size_t kRingCapacity = 256;
    static constexpr u64 kConnectingResendThresholdMs = 200;
    static constexpr u64 kResendThresholdMs = 10000000;
    static constexpr u64 kLossThresholdMs = 1000;

    // loader: not owned; outlives the client (its owner destroys the client
    // first); may be null. localPort: the TCP connection's local port, 0 for
    // any. Throws boost::system::system_error when the socket cannot be bound.
    NetworkedZarnLobbyClient(ClientGameLoader* loader, u16 localPort);
    ~NetworkedZarnLobbyClient();
    NetworkedZarnLobbyClient(const NetworkedZarnLobbyClient&) = delete;
    NetworkedZarnLobbyClient& operator=(const NetworkedZarnLobbyClient&) = delete;

    // Exactly one of the two is called per connect, on the I/O thread; they
    // must not call back into this client (post to the owner's thread
    // instead). Set them before setLobbyEndpoint.
    void setCallbacks(std::function<void()> failed, std::function<void()> connected);
    // The endpoint becomes "host:port"; the connect starts on the I/O thread
    // (started here on the first call) and this returns at once. A later call
    // starts a new attempt. Not after start().
    void setLobbyEndpoint(const std::string& host, u16 port = LobbyAddress::kDefaultPort);
    // Registers the connected socket with the reader and the sender under the
    // lobby server's ID and starts the send thread. Throws
    // Convinience::Error("cannot start without valid client") when no
    // endpoint was set, starting nothing. A second call does nothing.
    void start();
    // Once a frame: runs the received commands in arrival order, then the
    // issued ones, then wakes the sender. A command that throws (a loader
    // that fails) is logged and dropped; the rest run at the next update.
    void update();
    // Closes the lobby connection when it is open; the reads end quietly.
    // Returns at once; the close happens on the I/O thread.
    void closeConnection();
    // The lobby server closed or reset the connection after start() (not
    // after closeConnection). Any thread.
    bool connectionLost() const { return lost_.load(); }

    const std::string& lobbyEndpoint() const { return lobbyEndpoint_; }
    bool started() const { return running_; }
    ClientLobbyState& lobby() { return lobbyState_; }
    ClientStatus& status() { return lobbyState_.status; }
    Corvel::ClientCommandState& commands() { return commandState_; }
    // How long a connect may take; set before setLobbyEndpoint.
    std::chrono::milliseconds connectTimeout = Ferro::TCPConnector::kDefaultConnectTimeout;

private:
    // Marks the connection lost; on the I/O thread.
    class LossWatch : public Ferro::DisconnectHandler {
    public:
        explicit LossWatch(std::atomic<bool>& lost) : lost_(lost) {}
        void onDisconnect(const std::string& endpoint) override;

    private:
        std::atomic<bool>& lost_;
    };

    void startEventLoop();

    boost::asio::io_context io_;
    Ferro::IoStrand strand_{io_.get_executor()};
    Ferro::AcknowledgementQueue acknowledgements_;
    Corvel::MessageQueue outgoing_{kRingCapacity};
    Corvel::MessageQueue incoming_{kRingCapacity};
    Convinience::Stopwatch clock_;
    bool running_ = false;
    Ferro::ClientEndpointTable endpoints_;
    Ferro::ClientIDResolver resolver_{endpoints_};
    Ferro::RecieverProcessor reciever_{acknowledgements_, resolver_, &clock_, incoming_};
    std::atomic<bool> lost_{false};
    LossWatch lossWatch_{lost_};
    Ferro::TCPReciever tcpReader_{strand_, reciever_};
    std::unordered_map<u32, i32> ackAges_;
    Ferro::DeliveryTracker delivery_{acknowledgements_, &clock_};
    Ferro::AckFieldTracker ackFields_{&ackAges_, &delivery_.acknowledged};
    Ferro::PacketStamp stamp_{Ferro::kApplicationId, 0, &ackFields_};
    Ferro::TCPSender tcpSender_{strand_};
    Ferro::SenderProcessor sender_{tcpSender_, endpoints_, stamp_, delivery_, outgoing_};
    Corvel::ClientCommandState commandState_;
    ClientLobbyState lobbyState_;
    std::unique_ptr<Ferro::TCPConnector> connector_;
    std::function<void()> failed_;
    std::function<void()> connected_;
    std::string lobbyEndpoint_;
    Convinience::Logger logger_;

    std::thread ioThread_;
    std::thread sendThread_;
};

}  // namespace ZarnLobby
