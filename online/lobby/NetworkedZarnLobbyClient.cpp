#include "online/lobby/NetworkedZarnLobbyClient.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <exception>

#include "foundation/Error.h"
#include "net/Endpoint.h"

namespace ZarnLobby {

namespace sev = Convinience::severity;

NetworkedZarnLobbyClient::NetworkedZarnLobbyClient(ClientGameLoader* loader, u16 localPort)
    : lobbyState_(outgoing_, incoming_, commandState_, loader),
      connector_(std::make_unique<Ferro::TCPConnector>(strand_, localPort)) {
    delivery_.resendThresholdMs = kConnectingResendThresholdMs;
    delivery_.lossThresholdMs = kLossThresholdMs;
    tcpReader_.setDisconnectHandler(&lossWatch_);
}

void NetworkedZarnLobbyClient::LossWatch::onDisconnect(const std::string& endpoint) {
    lost_ = true;
    Convinience::Logger().log(sev::info, "Lost the connection to the lobby at " + endpoint);
}

NetworkedZarnLobbyClient::~NetworkedZarnLobbyClient() {
    // Both loops end at once: the event loop drops what it was doing (a
    // connect under way included), the sender finishes at most one record.
    io_.stop();
    if (ioThread_.joinable()) ioThread_.join();
    tcpReader_.setDisconnectHandler(nullptr);
    sender_.stop();
    if (sendThread_.joinable()) sendThread_.join();
    connector_.reset();
}

void NetworkedZarnLobbyClient::setCallbacks(std::function<void()> failed, std::function<void()> connected) {
    failed_ = std::move(failed);
    connected_ = std::move(connected);
}

void NetworkedZarnLobbyClient::setLobbyEndpoint(const std::string& host, u16 port) {
    if (running_) return;
    lobbyEndpoint_ = host + ":" + std::to_string(port);
    connector_->connectTimeout = connectTimeout;
    // The I/O thread gets copies: the owner may set new callbacks while a
    // connect runs.
    connector_->connectAsync(
        host, std::to_string(port),
        [connected = connected_] {
            if (connected) connected();
        },
        [failed = failed_] {
            if (failed) failed();
        });
    startEventLoop();
}

void NetworkedZarnLobbyClient::startEventLoop() {
    if (ioThread_.joinable()) return;
    ioThread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        Ferro::runEventLoop(io_);
    });
}

void NetworkedZarnLobbyClient::start() {
    if (lobbyEndpoint_.empty()) throw Convinience::Error("cannot start without valid client");
    if (running_) return;
    clock_.start();
    running_ = true;
    delivery_.resendThresholdMs = kResendThresholdMs;

    // The connect has finished (its callback came), so the socket is idle
    // until it is registered below. The peer's own address is the key under
    // which the reader reports its packets.
    const std::shared_ptr<boost::asio::ip::tcp::socket> socket = connector_->socket();
    boost::system::error_code error;
    const auto remote = socket->remote_endpoint(error);
    const std::string server =
        error ? lobbyEndpoint_ : Ferro::endpointString(remote.address(), remote.port());
    if (error) logger_.log(sev::error, "Lobby connection is not open: " + Ferro::errorCodeText(error));
    try {
        endpoints_.assign(kLobbyServerID, server);
    } catch (const std::exception& e) {
        logger_.log(sev::error, "Cannot register the lobby server at " + server + ": " + e.what());
    }
    tcpSender_.addConnection(server, socket);
    tcpReader_.addConnection(server, socket);
    startEventLoop();
    sendThread_ = std::thread([this] { sender_.run(); });
    logger_.log(sev::info, "Lobby client started at " + server);
}

void NetworkedZarnLobbyClient::update() {
    try {
        lobbyState_.update();
    } catch (const std::exception& e) {
        logger_.log(sev::error, std::string("Lobby command failed: ") + e.what());
    } catch (...) {
        logger_.log(sev::error, "Lobby command failed");
    }
    sender_.wake();
}

void NetworkedZarnLobbyClient::closeConnection() {
    boost::asio::post(strand_, [socket = connector_->socket()] {
        boost::system::error_code ignored;
        if (socket->is_open()) socket->close(ignored);
    });
}

}  // namespace ZarnLobby
