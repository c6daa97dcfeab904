#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>

#include "foundation/Logger.h"
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
#include "net/UDPChannel.h"
#include "online/game/ZarnClientDisconnectHandler.h"
#include "simulation/client/CoreBackedClient.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/InputManager.h"

namespace Zarn {

// A game server endpoint text cut at its first ':': the host before it, the
// port text after it (a second ':' stays in the port text, which then names
// no port). No ':' gives an empty port.
struct GameServerAddress {
    std::string host;
    std::string port;
};
GameServerAddress splitGameServerEndpoint(const std::string& endpoint);

// The client of an online game: the same client game core and input manager
// as single play, talking to a remote game server instead of an in-process
// one. Reliable commands travel over TCP, the others over UDP; both sockets
// share one local port, as the game server expects.
//
// Life: the loader makes it, sets the playback latency, the core's game
// instance (whose fromID names the game server), the handlers and the
// disconnect function; the scene loads the map and starts the session.
// Connecting announces the client to the server (command 11, the first
// command it sends) and starts the receive thread (the I/O loop: TCP and UDP
// reads, the receiver processor, the disconnect handler) and the send thread
// (the sender processor, woken by each frame's update).
//
// Two ways to connect: startSession waits for the connection (at most the
// connect timeout) and throws "could not connect to game server"; the
// scene's startSessionAsync returns at once, and a later frame's update
// either announces the client or runs the connect-failed function. Until the
// announcement the core does not run: the room stands still and nothing is
// sent.
//
// Threads: everything here is the main thread's (the core, the input
// manager, the producer side of the outgoing ring and the consumer side of
// the incoming ring), except what the comments name. The destructor stops
// the I/O loop and the sender and joins both threads; neither waits on the
// network, so it returns within a few milliseconds in any state.
class NetworkedZarnClient : public CoreBackedClient {
public:
    static constexpr std::size_t kRingSlots = 257;
    static constexpr u32 kDefaultPlaybackLatencyMs = 166;
    static constexpr u64 kResendThresholdMs = 1000;
    // The room is over for this client this long after every player's unit
    // has left it (seconds of frames).
    static constexpr float kRoomEndDelaySeconds = 6.0f;
    // The game server answers every tick: this long without a packet from
    // it counts as a lost connection.
    static constexpr u64 kSilenceLimitMs = 5000;

    enum class Connection { idle, connecting, connected, failed };

    // endpoint: "host:port" of the game server (a dotted address or a name).
    // localPort: both sockets' port, 0 for one the system picks. Throws
    // Convinience::Error "no port for both TCP and UDP" when none is free.
    // clock: times the game server's silence (steady unless a test gives
    // its own, which outlives the client).
    NetworkedZarnClient(std::string endpoint, u16 localPort, u32 localClientId,
                        const Convinience::TickClock& clock = Convinience::TickClock::steady());
    ~NetworkedZarnClient() override;
    NetworkedZarnClient(const NetworkedZarnClient&) = delete;
    NetworkedZarnClient& operator=(const NetworkedZarnClient&) = delete;

    void loadMap(std::istream& stream) override { core_.loadMap(stream); }
    // The core's frame once the client is announced, then the sender is
    // woken. Before that it only watches the connect. An exception from the
    // core (a command the server sent that cannot be used) is logged and the
    // frame ends; the game goes on with the next frame. Once announced, a
    // game server silent for kSilenceLimitMs (no packet since the last one,
    // or since the announce) is lost as if it had closed the connection: the
    // disconnect function runs, once.
    void update(float dt) override;
    u32 getLocalClientID() override { return localClientId_; }
    InputManager& getInputManager() override { return inputs_; }
    ClientGameCore& getCore() override { return core_; }

    // The loader's two handlers, kept for it; the client calls neither.
    void setHandlers(std::function<void()> exitHandler, std::function<void()> secondHandler);
    const std::function<void()>& exitHandler() const { return exitHandler_; }
    const std::function<void()>& secondHandler() const { return secondHandler_; }
    // Runs on the main thread (handed over through the engine's scheduler)
    // when the game server closes or resets the connection; not after this
    // client is destroyed. Any thread.
    void setDisconnectFunction(std::function<void()> function) {
        disconnects_.setFunction(std::move(function));
    }
    // The core's playback latency in milliseconds (166 after construction).
    void setPlaybackLatency(u32 milliseconds) { core_.setPlaybackLatency(milliseconds); }

    // Stamps the start time, sets the running flag and connects
    // (connectToGameServer). Throws Convinience::Error "could not connect to
    // game server" when the server cannot be reached within the connect
    // timeout. Waits for the connection: the loader's path, not a frame's.
    void startSession();
    // Connects to the game server and waits for the result, announces the
    // client and starts both threads. A second call, or one after
    // startSessionAsync, does nothing.
    void connectToGameServer();
    // The frame's way: stamps the start time, sets the running flag, starts
    // both threads and the connect, and returns at once. A frame's update
    // after the connect has succeeded announces the client; one after it has
    // failed (refused, no such host, no answer within the connect timeout)
    // runs onFailed on the main thread, once. A second call does nothing.
    void startSessionAsync(std::function<void()> onFailed);

    // Any thread.
    Connection connection() const { return connection_.load(); }
    // The client has sent command 11 and the core runs (main thread).
    bool announced() const { return announced_; }
    // The game server has closed or reset the connection, or fell silent
    // (any thread).
    bool disconnected() const { return disconnects_.disconnected(); }
    // Milliseconds by the client's clock since the last packet from the game
    // server, or since the announce when none came after it; 0 before the
    // announce. Any thread.
    u64 silenceMs() const;
    bool running() const { return running_.load(); }
    // When the session started (steady clock); unset until then.
    std::chrono::steady_clock::time_point startTime() const { return startTime_; }
    const std::string& gameServerEndpoint() const { return endpoint_; }
    // The port both sockets use.
    u16 localPort() const { return localPort_; }
    // Closes the connection to the game server (the game-over steps do when
    // it is open); the server sees this client leave. Main thread.
    void closeConnection();

    // Before a connect starts.
    std::chrono::milliseconds connectTimeout = Ferro::TCPConnector::kDefaultConnectTimeout;

private:
    // Notes the time of every packet from the game server's endpoint, then
    // hands it to the receiver processor. I/O thread.
    class ServerListener : public Convinience::Reciever {
    public:
        ServerListener(const Convinience::TickClock& clock, Convinience::Reciever& next)
            : clock_(clock), next_(next) {}
        void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override;
        // The server's canonical endpoint; set before its packets can come.
        std::string server;
        // Ticks of the clock at the last packet (or at the announce).
        std::atomic<u64> lastHeard{0};

    private:
        const Convinience::TickClock& clock_;
        Convinience::Reciever& next_;
    };

    // Registers the connected socket with the TCP sender and reader under the
    // server's canonical endpoint and files that endpoint under the server's
    // client ID. Main thread before the threads run, or the I/O thread.
    bool registerConnection();
    void announce();
    void startThreads();
    void stopThreads();

    Convinience::Logger logger_;
    Ferro::AcknowledgementQueue acknowledgements_;
    Corvel::MessageQueue outgoing_{kRingSlots};
    Corvel::MessageQueue incoming_{kRingSlots};
    std::chrono::steady_clock::time_point startTime_{};
    std::atomic<bool> running_{false};
    Ferro::ClientEndpointTable endpoints_;
    Ferro::ClientIDResolver resolver_{endpoints_};
    Convinience::Stopwatch clock_;

    boost::asio::io_context io_;
    Ferro::IoStrand strand_{io_.get_executor()};
    std::shared_ptr<boost::asio::ip::udp::socket> udpSocket_;
    std::thread receiveThread_;
    Ferro::RecieverProcessor reciever_{acknowledgements_, resolver_, &clock_, incoming_};
    const Convinience::TickClock& silenceClock_;
    ServerListener listener_{silenceClock_, reciever_};
    std::unique_ptr<Ferro::UDPReciever> udpReader_;
    std::unique_ptr<Ferro::TCPReciever> tcpReader_;
    ZarnClientDisconnectHandler disconnects_;
    std::unique_ptr<Ferro::TCPUDPSender> channels_;
    std::unique_ptr<Ferro::TCPConnector> connector_;
    std::unordered_map<u32, i32> ackAges_;
    Ferro::DeliveryTracker delivery_{acknowledgements_, &clock_};
    Ferro::AckFieldTracker ackFields_{&ackAges_, &delivery_.acknowledged};
    Ferro::PacketStamp stamp_{Ferro::kApplicationId, 0, &ackFields_};
    std::thread sendThread_;
    std::unique_ptr<Ferro::ReliableSenderProcessor> sender_;

    InputManager inputs_;
    ClientGameCore core_{incoming_, outgoing_};
    u32 localClientId_;
    std::string endpoint_;
    u16 localPort_ = 0;
    std::function<void()> exitHandler_;
    std::function<void()> secondHandler_;

    // The server's client ID, read from the core's instance when the
    // session starts (the I/O thread files the endpoint under it).
    u32 serverId_ = 0;
    std::atomic<Connection> connection_{Connection::idle};
    std::function<void()> connectFailed_;
    bool announced_ = false;
    bool failureReported_ = false;
    bool silenceReported_ = false;
    bool threadsStarted_ = false;
};

}  // namespace Zarn
