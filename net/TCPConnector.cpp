#include "net/TCPConnector.h"

#include <boost/asio/bind_executor.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <mutex>

#include "foundation/Logger.h"
#include "net/Endpoint.h"

namespace Ferro {

using boost::asio::ip::tcp;

// The callbacks are guarded by the mutex (the destructor clears them from
// another thread); everything else of an asynchronous connect is used on the
// strand only.
struct TCPConnector::State : std::enable_shared_from_this<TCPConnector::State> {
    State(IoStrand s, u16 port)
        : strand(std::move(s)),
          requestedPort(port),
          socket(std::make_shared<tcp::socket>(strand)),
          resolver(strand),
          timer(strand) {}

    // Closes the socket and makes it again, bound to the requested port.
    // Throws boost::system::system_error.
    void reopen();
    void start(const std::string& host, const std::string& port, std::chrono::milliseconds timeout);
    void finish(u64 forAttempt, bool connected);

    IoStrand strand;
    u16 requestedPort;
    std::shared_ptr<tcp::socket> socket;
    tcp::resolver resolver;
    boost::asio::steady_timer timer;
    u64 attempt = 0;
    bool settled = true;
    std::string target;

    std::recursive_mutex callbackMutex;  // a callback may start a new attempt or destroy the connector
    std::function<void()> onConnected;   // guarded by callbackMutex
    std::function<void()> onFailed;      // guarded by callbackMutex
    Convinience::Logger logger;
};

void TCPConnector::State::reopen() {
    boost::system::error_code ignored;
    socket->close(ignored);
    socket->open(tcp::v4());
    socket->bind(tcp::endpoint(tcp::v4(), requestedPort));
}

void TCPConnector::State::start(const std::string& host, const std::string& port,
                                std::chrono::milliseconds timeout) {
    const u64 current = ++attempt;
    settled = false;
    target = host + ":" + port;
    timer.expires_after(timeout);
    timer.async_wait(boost::asio::bind_executor(
        strand, [self = shared_from_this(), current](const boost::system::error_code& error) {
            if (!error && current == self->attempt && !self->settled) self->finish(current, false);
        }));
    resolver.async_resolve(
        tcp::v4(), host, port,
        boost::asio::bind_executor(strand, [self = shared_from_this(), current](
                                               const boost::system::error_code& error,
                                               const tcp::resolver::results_type& results) {
            if (current != self->attempt || self->settled) return;
            if (error || results.empty()) {
                self->finish(current, false);
                return;
            }
            if (!self->socket->is_open()) self->socket->open(tcp::v4());
            self->socket->async_connect(
                results.begin()->endpoint(),
                boost::asio::bind_executor(self->strand, [self, current](const boost::system::error_code& e) {
                    if (current == self->attempt && !self->settled) self->finish(current, !e);
                }));
        }));
}

void TCPConnector::State::finish(u64 forAttempt, bool connected) {
    settled = true;
    timer.cancel();
    resolver.cancel();
    std::function<void()> callback;
    if (connected) {
        boost::system::error_code ignored;
        socket->set_option(tcp::no_delay(true), ignored);
        logger.log(Convinience::severity::info, "Client connected at " + target);
    } else {
        logger.log(Convinience::severity::error, "Could not resolve tcp host endpoint");
        try {
            reopen();
        } catch (const std::exception& e) {
            logger.log(Convinience::severity::error,
                       std::string("Could not make the TCP socket again: ") + e.what());
        }
    }
    std::lock_guard lock(callbackMutex);
    const std::function<void()> chosen = connected ? onConnected : onFailed;
    if (!chosen) return;
    try {
        chosen();
    } catch (const std::exception& e) {
        logger.log(Convinience::severity::error, std::string("Connection callback failed: ") + e.what());
    }
}

TCPConnector::TCPConnector(IoStrand strand, u16 localPort)
    : state_(std::make_shared<State>(std::move(strand), localPort)) {
    state_->socket->open(tcp::v4());
    state_->socket->bind(tcp::endpoint(tcp::v4(), localPort));
}

TCPConnector::~TCPConnector() {
    {
        std::lock_guard lock(state_->callbackMutex);
        state_->onConnected = nullptr;
        state_->onFailed = nullptr;
    }
    boost::asio::post(state_->strand, [state = state_] {
        ++state->attempt;
        state->settled = true;
        state->timer.cancel();
        state->resolver.cancel();
        boost::system::error_code ignored;
        state->socket->close(ignored);
    });
}

bool TCPConnector::connect(const std::string& host, const std::string& port) {
    const std::string target = host + ":" + port;
    boost::asio::io_context io;
    boost::system::error_code error;
    tcp::resolver resolver(io);
    const auto results = resolver.resolve(tcp::v4(), host, port, error);
    if (error || results.empty()) {
        state_->logger.log(Convinience::severity::error, "Error connecting on TCP at " + target);
        return false;
    }
    // The attempt runs on a private io_context, so that it can be given up
    // after the time limit; the connected descriptor then returns to the
    // client's socket.
    try {
        if (!state_->socket->is_open()) state_->reopen();
        tcp::socket attempt(io);
        attempt.assign(tcp::v4(), state_->socket->release());
        bool done = false;
        boost::asio::steady_timer timer(io, connectTimeout);
        attempt.async_connect(results.begin()->endpoint(), [&](const boost::system::error_code& e) {
            done = true;
            error = e;
            timer.cancel();
        });
        timer.async_wait([&](const boost::system::error_code& e) {
            if (!e && !done) attempt.close();
        });
        io.run();
        if (!error) state_->socket->assign(tcp::v4(), attempt.release());
    } catch (const boost::system::system_error& e) {
        error = e.code();
    }
    if (error) {
        state_->logger.log(Convinience::severity::error, "Error creating socket for " + target);
        try {
            state_->reopen();
        } catch (const std::exception&) {
        }
        return false;
    }
    boost::system::error_code ignored;
    state_->socket->set_option(tcp::no_delay(true), ignored);
    state_->logger.log(Convinience::severity::info, "Client connected at " + target);
    return true;
}

void TCPConnector::connectAsync(const std::string& host, const std::string& port,
                                std::function<void()> onConnected, std::function<void()> onFailed) {
    {
        std::lock_guard lock(state_->callbackMutex);
        state_->onConnected = std::move(onConnected);
        state_->onFailed = std::move(onFailed);
    }
    boost::asio::post(state_->strand, [state = state_, host, port, timeout = connectTimeout] {
        try {
            state->start(host, port, timeout);
        } catch (const std::exception& e) {
            state->logger.log(Convinience::severity::error,
                              std::string("Could not start a connect: ") + e.what());
            state->finish(state->attempt, false);
        }
    });
}

std::shared_ptr<tcp::socket> TCPConnector::socket() const {
    return state_->socket;
}

u16 TCPConnector::localPort() const {
    boost::system::error_code error;
    const auto endpoint = state_->socket->local_endpoint(error);
    return error ? 0 : endpoint.port();
}

}  // namespace Ferro
