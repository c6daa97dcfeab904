#include "net/TCPReciever.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/post.hpp>
#include <mutex>
#include <unordered_map>

#include "foundation/Logger.h"
#include "foundation/RateLimitedLog.h"
#include "net/Endpoint.h"
#include "net/Packet.h"
#include "net/PacketFramer.h"

namespace Ferro {

namespace {

struct Connection {
    std::string endpoint;
    std::shared_ptr<boost::asio::ip::tcp::socket> socket;
    PacketFramer framer;
    bool active = true;
};

// The errors that mean the peer has gone (logged as news, not as faults).
bool endsConnection(const boost::system::error_code& error) {
    return error == boost::asio::error::eof || error == boost::asio::error::connection_reset ||
           error == boost::asio::error::connection_aborted;
}

}  // namespace

// The connection table and the framers are used on the strand only; the
// mutex guards the two outside pointers against the destructor.
struct TCPReciever::State : std::enable_shared_from_this<TCPReciever::State> {
    State(IoStrand s, Convinience::Reciever& r) : strand(std::move(s)), reciever(&r) {}

    void add(const std::string& endpoint, std::shared_ptr<boost::asio::ip::tcp::socket> socket);
    void startReading(const std::shared_ptr<Connection>& connection);
    void onRead(const std::shared_ptr<Connection>& connection, const boost::system::error_code& error,
                std::size_t n);
    void deliver(const Connection& connection, const u8* bytes, std::size_t size);
    void disconnect(const std::shared_ptr<Connection>& connection);
    void forget(const std::shared_ptr<Connection>& connection);

    IoStrand strand;
    std::recursive_mutex sinkMutex;        // the disconnect handler may call back in
    Convinience::Reciever* reciever;       // guarded by sinkMutex
    DisconnectHandler* handler = nullptr;  // guarded by sinkMutex
    std::unordered_map<std::string, std::shared_ptr<Connection>> connections;
    Convinience::Logger logger;
    // A server sees many peers come and go: their ends are news once a second.
    Convinience::RateLimitedLog ends;
};

void TCPReciever::State::add(const std::string& endpoint,
                             std::shared_ptr<boost::asio::ip::tcp::socket> socket) {
    auto& slot = connections[endpoint];
    if (slot) {
        if (slot->socket == socket) return;
        slot->active = false;
    }
    slot = std::make_shared<Connection>();
    slot->endpoint = endpoint;
    slot->socket = std::move(socket);
    startReading(slot);
}

void TCPReciever::State::startReading(const std::shared_ptr<Connection>& connection) {
    const std::span<u8> room = connection->framer.prepare();
    connection->socket->async_read_some(
        boost::asio::buffer(room.data(), room.size()),
        boost::asio::bind_executor(strand, [self = shared_from_this(), connection](
                                               const boost::system::error_code& error, std::size_t n) {
            self->onRead(connection, error, n);
        }));
}

void TCPReciever::State::onRead(const std::shared_ptr<Connection>& connection,
                                const boost::system::error_code& error, std::size_t n) {
    if (!connection->active) return;
    if (n > 0) {
        const bool whole = connection->framer.commit(n, [&](const u8* bytes, std::size_t size) {
            // Nothing more of a connection its owner has closed.
            if (connection->active && connection->socket->is_open()) deliver(*connection, bytes, size);
        });
        if (!whole) {
            logger.log(Convinience::severity::warn,
                       "Closing TCP connection [" + connection->endpoint + "]: a packet states " +
                           std::to_string(connection->framer.brokenPayloadLength()) + " payload bytes");
            disconnect(connection);
            return;
        }
        if (!connection->active) return;
        if (!connection->socket->is_open()) {
            // Closed by its owner while a packet of it was delivered.
            forget(connection);
            return;
        }
    }
    if (!error) {
        startReading(connection);
        return;
    }
    if (error == boost::asio::error::operation_aborted || !connection->socket->is_open()) {
        // Its owner closed it: no news, and nothing of it is kept.
        forget(connection);
        return;
    }
    if (endsConnection(error)) {
        const std::string what =
            error == boost::asio::error::eof ? "Connection closed by peer [" : "Connection reset by peer [";
        ends.log(Convinience::severity::info, "connections ended by peers",
                 what + connection->endpoint + "][" + errorCodeText(error) + "]");
        disconnect(connection);
        return;
    }
    // Any other failure (a time-out of a peer that vanished, a socket that
    // was never connected) leaves nothing to read either: told as a
    // disconnect too, so that the owner is not left waiting.
    logger.log(Convinience::severity::error, "Error recieving TCP packet [" + errorCodeText(error) + "]");
    disconnect(connection);
}

void TCPReciever::State::deliver(const Connection& connection, const u8* bytes, std::size_t size) {
    std::lock_guard lock(sinkMutex);
    if (reciever == nullptr) return;
    try {
        reciever->receive(bytes, size, connection.endpoint);
    } catch (const std::exception& e) {
        logger.log(Convinience::severity::error, std::string("Receiver failed: ") + e.what());
    }
}

void TCPReciever::State::forget(const std::shared_ptr<Connection>& connection) {
    connection->active = false;
    const auto it = connections.find(connection->endpoint);
    if (it != connections.end() && it->second == connection) connections.erase(it);
}

void TCPReciever::State::disconnect(const std::shared_ptr<Connection>& connection) {
    boost::system::error_code ignored;
    connection->socket->close(ignored);
    forget(connection);
    std::lock_guard lock(sinkMutex);
    if (handler == nullptr) return;
    try {
        handler->onDisconnect(connection->endpoint);
    } catch (const std::exception& e) {
        logger.log(Convinience::severity::error, std::string("Disconnect handler failed: ") + e.what());
    }
}

TCPReciever::TCPReciever(IoStrand strand, Convinience::Reciever& reciever)
    : state_(std::make_shared<State>(std::move(strand), reciever)) {}

TCPReciever::~TCPReciever() {
    {
        std::lock_guard lock(state_->sinkMutex);
        state_->reciever = nullptr;
        state_->handler = nullptr;
    }
    boost::asio::post(state_->strand, [state = state_] {
        for (auto& [endpoint, connection] : state->connections) connection->active = false;
        state->connections.clear();
    });
}

void TCPReciever::setDisconnectHandler(DisconnectHandler* handler) {
    std::lock_guard lock(state_->sinkMutex);
    state_->handler = handler;
}

void TCPReciever::removeConnection(const std::string& endpoint) {
    boost::asio::post(state_->strand, [state = state_, endpoint] {
        const auto it = state->connections.find(endpoint);
        if (it != state->connections.end()) state->forget(it->second);
    });
}

void TCPReciever::addConnection(const std::string& endpoint,
                                std::shared_ptr<boost::asio::ip::tcp::socket> socket) {
    boost::asio::post(state_->strand, [state = state_, endpoint, socket = std::move(socket)]() mutable {
        state->add(endpoint, std::move(socket));
    });
}

}  // namespace Ferro
