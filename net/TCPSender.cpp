#include "net/TCPSender.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <deque>
#include <unordered_map>

#include "foundation/Logger.h"
#include "net/Endpoint.h"

namespace Ferro {

namespace {

struct Connection {
    std::shared_ptr<boost::asio::ip::tcp::socket> socket;
    std::deque<std::vector<u8>> queue;
    std::vector<std::vector<u8>> inFlight;
    std::size_t queuedBytes = 0;
    bool failed = false;
};

}  // namespace

// Everything here is used on the strand only; the handlers keep the state
// alive.
struct TCPSender::State : std::enable_shared_from_this<TCPSender::State> {
    State(IoStrand s, std::size_t limit, OverflowFunction overflow)
        : strand(std::move(s)), maxQueuedBytes(limit), onOverflow(std::move(overflow)) {}

    void enqueue(const std::string& endpoint, std::vector<u8>&& bytes);
    void startWrite(const std::shared_ptr<Connection>& connection);

    IoStrand strand;
    std::size_t maxQueuedBytes;
    OverflowFunction onOverflow;
    std::unordered_map<std::string, std::shared_ptr<Connection>> connections;
    Convinience::Logger logger;
};

void TCPSender::State::enqueue(const std::string& endpoint, std::vector<u8>&& bytes) {
    const auto it = connections.find(endpoint);
    if (it == connections.end()) {
        logger.log(Convinience::severity::warn, "No TCP connection to " + endpoint + ", packet dropped");
        return;
    }
    const auto& connection = it->second;
    if (connection->failed) return;
    if (connection->queuedBytes + bytes.size() > maxQueuedBytes) {
        logger.log(Convinience::severity::warn,
                   "TCP connection to " + endpoint + " is not taking data, packet dropped");
        if (onOverflow) {
            // The peer is dropped: nothing more is queued for it.
            connection->failed = true;
            for (const auto& queued : connection->queue) connection->queuedBytes -= queued.size();
            connection->queue.clear();
            onOverflow(endpoint);
        }
        return;
    }
    connection->queuedBytes += bytes.size();
    connection->queue.push_back(std::move(bytes));
    if (connection->inFlight.empty()) startWrite(connection);
}

void TCPSender::State::startWrite(const std::shared_ptr<Connection>& connection) {
    std::vector<boost::asio::const_buffer> buffers;
    while (!connection->queue.empty()) {
        connection->inFlight.push_back(std::move(connection->queue.front()));
        connection->queue.pop_front();
        buffers.emplace_back(boost::asio::buffer(connection->inFlight.back()));
    }
    boost::asio::async_write(
        *connection->socket, buffers,
        boost::asio::bind_executor(strand, [self = shared_from_this(), connection](
                                               const boost::system::error_code& error, std::size_t) {
            for (const auto& bytes : connection->inFlight) connection->queuedBytes -= bytes.size();
            connection->inFlight.clear();
            if (error) {
                if (error != boost::asio::error::operation_aborted) {
                    self->logger.log(Convinience::severity::error,
                                     "Error sending TCP packet [" + errorCodeText(error) + "]");
                }
                connection->failed = true;
                connection->queue.clear();
                connection->queuedBytes = 0;
                return;
            }
            if (!connection->queue.empty()) self->startWrite(connection);
        }));
}

TCPSender::TCPSender(IoStrand strand, std::size_t maxQueuedBytes, OverflowFunction onOverflow)
    : state_(std::make_shared<State>(std::move(strand), maxQueuedBytes, std::move(onOverflow))) {}

TCPSender::~TCPSender() = default;

void TCPSender::addConnection(const std::string& endpoint,
                              std::shared_ptr<boost::asio::ip::tcp::socket> socket) {
    boost::asio::post(state_->strand, [state = state_, endpoint, socket = std::move(socket)]() mutable {
        auto connection = std::make_shared<Connection>();
        connection->socket = std::move(socket);
        state->connections[endpoint] = std::move(connection);
    });
}

void TCPSender::removeConnection(const std::string& endpoint) {
    boost::asio::post(state_->strand, [state = state_, endpoint] { state->connections.erase(endpoint); });
}

void TCPSender::send(std::vector<u8>&& bytes, const std::string& endpoint) {
    boost::asio::post(state_->strand, [state = state_, bytes = std::move(bytes), endpoint]() mutable {
        state->enqueue(endpoint, std::move(bytes));
    });
}

void TCPSender::send(const std::vector<u8>& bytes, const std::string& endpoint) {
    boost::asio::post(state_->strand, [state = state_, bytes = std::vector<u8>(bytes), endpoint]() mutable {
        state->enqueue(endpoint, std::move(bytes));
    });
}

}  // namespace Ferro
