#include "support/net/TransportNode.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <stdexcept>

#include "net/Endpoint.h"

namespace zarn_test {

using boost::asio::ip::tcp;
using boost::asio::ip::udp;

namespace {

const auto kLoopback = boost::asio::ip::address_v4::loopback();
constexpr int kUdpReceiveBuffer = 4 * 1024 * 1024;

}  // namespace

TransportNode::TransportNode(Role role, bool sharePort) : role_(role) {
    // UDP on a port the system picks, TCP on the same number; a number that
    // TCP cannot take is given back and another one tried.
    for (int attempt = 0; attempt < 50 && port_ == 0; ++attempt) {
        auto udpCandidate = std::make_shared<udp::socket>(strand, udp::endpoint(kLoopback, 0));
        const u16 candidate = udpCandidate->local_endpoint().port();
        try {
            if (role == Role::Server) {
                acceptor = std::make_unique<tcp::acceptor>(strand, tcp::endpoint(kLoopback, candidate));
            } else {
                connector = std::make_unique<Ferro::TCPConnector>(strand, sharePort ? candidate : 0);
            }
        } catch (const boost::system::system_error&) {
            continue;
        }
        // Room for bursts, so that a slow (sanitised) I/O thread loses no
        // datagram in the kernel.
        boost::system::error_code ignored;
        udpCandidate->set_option(boost::asio::socket_base::receive_buffer_size(kUdpReceiveBuffer), ignored);
        udpSocket = std::move(udpCandidate);
        port_ = candidate;
    }
    if (port_ == 0) throw std::runtime_error("no port for both TCP and UDP");
    udpReader = std::make_unique<Ferro::UDPReciever>(strand, udpSocket, reciever);
    tcpReader = std::make_unique<Ferro::TCPReciever>(strand, reciever);
    channels = std::make_unique<Ferro::TCPUDPSender>(strand, udpSocket);
    sender =
        std::make_unique<Ferro::ReliableSenderProcessor>(*channels, endpoints, stamp, delivery, outgoing);
    delivery.resendThresholdMs = 1000;
}

TransportNode::~TransportNode() {
    stop();
    // The readers and the connector go before the sockets they read.
    sender.reset();
    tcpReader.reset();
    udpReader.reset();
    connector.reset();
}

std::string TransportNode::endpoint() const {
    return Ferro::endpointString(kLoopback, port_);
}

bool TransportNode::connectTo(u16 serverPort) {
    if (!connector->connect("127.0.0.1", std::to_string(serverPort))) return false;
    const std::string server = Ferro::endpointString(kLoopback, serverPort);
    channels->tcp().addConnection(server, connector->socket());
    tcpReader->addConnection(server, connector->socket());
    return true;
}

void TransportNode::accept() {
    acceptor->async_accept(
        boost::asio::bind_executor(strand, [this](const boost::system::error_code& error, tcp::socket peer) {
            if (error) return;
            if (auto connection = Ferro::takeAcceptedConnection(std::move(peer))) {
                channels->tcp().addConnection(connection->name, connection->socket);
                tcpReader->addConnection(connection->name, connection->socket);
                if (onAccepted) onAccepted(connection->name);
            }
            accept();
        }));
}

void TransportNode::start() {
    if (started_) return;
    started_ = true;
    clock.start();
    udpReader->startReceiving();
    if (acceptor) boost::asio::post(strand, [this] { accept(); });
    ioThread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io);
        Ferro::runEventLoop(io);
    });
    sendThread_ = std::thread([this] { sender->run(); });
}

void TransportNode::stop() {
    io.stop();
    sender->stop();
    if (ioThread_.joinable()) ioThread_.join();
    if (sendThread_.joinable()) sendThread_.join();
}

bool TransportNode::send(Corvel::QueuedMessage message) {
    const bool queued = outgoing.push(std::move(message));
    sender->wake();
    return queued;
}

std::vector<Corvel::QueuedMessage> TransportNode::waitForIncoming(std::size_t count,
                                                                  std::chrono::milliseconds timeout) {
    std::vector<Corvel::QueuedMessage> received;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (received.size() < count && std::chrono::steady_clock::now() < deadline) {
        Corvel::QueuedMessage message;
        if (incoming.pop(message)) {
            received.push_back(std::move(message));
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    return received;
}

std::vector<Corvel::QueuedMessage> TransportNode::drainIncoming() {
    std::vector<Corvel::QueuedMessage> received;
    Corvel::QueuedMessage message;
    while (incoming.pop(message)) received.push_back(std::move(message));
    return received;
}

Corvel::QueuedMessage makeMessage(u32 from, u32 to, bool reliable, std::vector<u8> payload) {
    Corvel::QueuedMessage message;
    message.fromClientId = from;
    message.toClientId = to;
    message.reliable = reliable ? 1 : 0;
    message.bytes = std::move(payload);
    return message;
}

}  // namespace zarn_test
