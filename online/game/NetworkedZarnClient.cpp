#include "online/game/NetworkedZarnClient.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <exception>

#include "engine/Director.h"
#include "engine/Scheduler.h"
#include "foundation/Error.h"
#include "net/Endpoint.h"
#include "simulation/commands/LocalCommands.h"

namespace Zarn {

using boost::asio::ip::udp;
namespace severity = Convinience::severity;

namespace {

constexpr float kTickDelta = 0.03f;
constexpr int kUdpReceiveBuffer = 1024 * 1024;
constexpr int kPortAttempts = 50;

}  // namespace

GameServerAddress splitGameServerEndpoint(const std::string& endpoint) {
    const std::size_t colon = endpoint.find(':');
    if (colon == std::string::npos) return {endpoint, ""};
    return {endpoint.substr(0, colon), endpoint.substr(colon + 1)};
}

NetworkedZarnClient::NetworkedZarnClient(std::string endpoint, u16 localPort, u32 localClientId,
                                         const Convinience::TickClock& clock)
    : silenceClock_(clock),
      disconnects_(*cocos2d::Director::getInstance()->getScheduler()),
      localClientId_(localClientId),
      endpoint_(std::move(endpoint)) {
    // UDP first (on the port asked for, or one the system picks), then TCP
    // on the same number; a number that TCP cannot take is given back and
    // another one tried.
    for (int attempt = 0; attempt < kPortAttempts && localPort_ == 0; ++attempt) {
        auto udpCandidate = std::make_shared<udp::socket>(strand_, udp::endpoint(udp::v4(), localPort));
        const u16 candidate = udpCandidate->local_endpoint().port();
        try {
            connector_ = std::make_unique<Ferro::TCPConnector>(strand_, candidate);
        } catch (const boost::system::system_error&) {
            if (localPort != 0) throw;
            continue;
        }
        boost::system::error_code ignored;
        udpCandidate->set_option(boost::asio::socket_base::receive_buffer_size(kUdpReceiveBuffer), ignored);
        udpSocket_ = std::move(udpCandidate);
        localPort_ = candidate;
    }
    if (localPort_ == 0) throw Convinience::Error("no port for both TCP and UDP");
    udpReader_ = std::make_unique<Ferro::UDPReciever>(strand_, udpSocket_, listener_);
    tcpReader_ = std::make_unique<Ferro::TCPReciever>(strand_, listener_);
    tcpReader_->setDisconnectHandler(&disconnects_);
    channels_ = std::make_unique<Ferro::TCPUDPSender>(strand_, udpSocket_);
    sender_ = std::make_unique<Ferro::ReliableSenderProcessor>(*channels_, endpoints_, stamp_, delivery_,
                                                               outgoing_);

    core_.setInputManager(&inputs_);
    core_.setTickDelta(kTickDelta);
    core_.setLocalClientID(localClientId_);
    // A player who reaches the exit waits for the others: the room ends for
    // everyone together.
    core_.setSharedExit(kRoomEndDelaySeconds);
    core_.setPlaybackLatency(kDefaultPlaybackLatencyMs);
    inputs_.addClient(localClientId_);
    resolver_.expectedApplicationId = Ferro::kApplicationId;
    delivery_.resendThresholdMs = kResendThresholdMs;
}

NetworkedZarnClient::~NetworkedZarnClient() {
    disconnects_.detach();
    stopThreads();
    tcpReader_->setDisconnectHandler(nullptr);
    // The readers, the sender and the connector go before the sockets.
    sender_.reset();
    connector_.reset();
    channels_.reset();
    tcpReader_.reset();
    udpReader_.reset();
}

void NetworkedZarnClient::setHandlers(std::function<void()> exitHandler,
                                      std::function<void()> secondHandler) {
    exitHandler_ = std::move(exitHandler);
    secondHandler_ = std::move(secondHandler);
}

void NetworkedZarnClient::startSession() {
    startTime_ = std::chrono::steady_clock::now();
    running_ = true;
    connectToGameServer();
}

void NetworkedZarnClient::connectToGameServer() {
    if (connection_.load() != Connection::idle) return;
    serverId_ = core_.gameInstance().fromID;
    const GameServerAddress address = splitGameServerEndpoint(endpoint_);
    connector_->connectTimeout = connectTimeout;
    // The I/O thread is not running yet: the connect and the registration
    // own the sockets here.
    if (!connector_->connect(address.host, address.port) || !registerConnection()) {
        running_ = false;
        logger_.log(severity::error, "Could not connect to the game server at " + endpoint_);
        throw Convinience::Error("could not connect to game server");
    }
    connection_ = Connection::connected;
    announce();
    startThreads();
}

void NetworkedZarnClient::startSessionAsync(std::function<void()> onFailed) {
    if (connection_.load() != Connection::idle) return;
    startTime_ = std::chrono::steady_clock::now();
    running_ = true;
    serverId_ = core_.gameInstance().fromID;
    connectFailed_ = std::move(onFailed);
    connection_ = Connection::connecting;
    const GameServerAddress address = splitGameServerEndpoint(endpoint_);
    connector_->connectTimeout = connectTimeout;
    startThreads();
    // Both callbacks run on the I/O thread; the main thread sees the outcome
    // in a later update.
    connector_->connectAsync(
        address.host, address.port,
        [this] { connection_ = registerConnection() ? Connection::connected : Connection::failed; },
        [this] { connection_ = Connection::failed; });
}

bool NetworkedZarnClient::registerConnection() {
    // Its own handle: this may run on the I/O thread.
    Convinience::Logger logger;
    const auto socket = connector_->socket();
    boost::system::error_code error;
    const auto remote = socket->remote_endpoint(error);
    if (error) {
        logger.log(severity::error, "The game server connection ended at once: " + error.message());
        return false;
    }
    // The canonical text is what the server's datagrams come from, so the
    // receiver's endpoint check holds for TCP and UDP alike.
    const std::string server = Ferro::endpointString(remote.address(), remote.port());
    listener_.server = server;
    channels_->tcp().addConnection(server, socket);
    tcpReader_->addConnection(server, socket);
    if (!endpoints_.assign(serverId_, server)) {
        logger.log(severity::error, "The game server's endpoint " + server + " is taken");
        return false;
    }
    udpReader_->startReceiving();
    logger.log(severity::info, "Connected to the game server at " + server);
    return true;
}

void NetworkedZarnClient::announce() {
    ClientGameInstanceUpdateCommand(core_.localClientID(), serverId_, core_.commandPusher()).execute();
    listener_.lastHeard = silenceClock_.nowTicks();
    announced_ = true;
}

void NetworkedZarnClient::ServerListener::receive(const u8* bytes, std::size_t size,
                                                  const std::string& endpoint) {
    if (endpoint == server) lastHeard = clock_.nowTicks();
    next_.receive(bytes, size, endpoint);
}

u64 NetworkedZarnClient::silenceMs() const {
    if (!announced_) return 0;
    const u64 now = silenceClock_.nowTicks();
    const u64 heard = listener_.lastHeard.load();
    return now > heard ? (now - heard) / 10000 : 0;
}

void NetworkedZarnClient::startThreads() {
    if (threadsStarted_) return;
    threadsStarted_ = true;
    clock_.start();
    receiveThread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        Ferro::runEventLoop(io_);
    });
    sendThread_ = std::thread([this] {
        try {
            sender_->run();
        } catch (const std::exception& e) {
            Convinience::Logger().log(severity::error,
                                      std::string("The game client's send thread failed: ") + e.what());
        }
    });
}

void NetworkedZarnClient::stopThreads() {
    io_.stop();
    sender_->stop();
    if (sendThread_.joinable()) sendThread_.join();
    if (receiveThread_.joinable()) receiveThread_.join();
}

void NetworkedZarnClient::update(float dt) {
    if (!announced_) {
        switch (connection_.load()) {
            case Connection::connected:
                announce();
                break;
            case Connection::failed:
                if (!failureReported_) {
                    failureReported_ = true;
                    running_ = false;
                    logger_.log(severity::error, "Could not connect to the game server at " + endpoint_);
                    if (connectFailed_) connectFailed_();
                }
                return;
            default:
                return;
        }
    }
    try {
        core_.update(dt);
    } catch (const std::exception& e) {
        logger_.log(severity::error, std::string("A frame of the online game failed: ") + e.what());
    }
    sender_->wake();
    if (!silenceReported_ && silenceMs() >= kSilenceLimitMs) {
        silenceReported_ = true;
        logger_.log(severity::warn, "The game server at " + endpoint_ + " has sent nothing for " +
                                        std::to_string(silenceMs()) + " ms");
        disconnects_.onDisconnect(endpoint_);
    }
}

void NetworkedZarnClient::closeConnection() {
    const auto socket = connector_->socket();
    const auto close = [socket] {
        boost::system::error_code ignored;
        socket->shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
        socket->close(ignored);
    };
    // Once the I/O thread runs, the socket is its own.
    if (threadsStarted_) {
        boost::asio::post(strand_, close);
    } else {
        close();
    }
}

}  // namespace Zarn
