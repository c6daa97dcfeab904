#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "foundation/RateLimitedLog.h"
#include "net/Endpoint.h"
#include "net/IoStrand.h"

namespace Ferro {

// A server's listening socket and its accept loop, within limits set by
// configuration, never by peers:
// - at most maxConnections connections at once, and at most maxPerAddress
//   from one address; a connection beyond either is closed as soon as it is
//   accepted (refused), with a rate-limited log line;
// - a failed accept (out of descriptors, out of memory) is retried after a
//   back-off of 100 ms that doubles with each failure in a row up to 1 s, and
//   logged at most once a second, so the loop never spins.
// Every connection handed on counts until its owner releases it.
//
// Threads: everything runs on the strand (the server's I/O thread); the
// constructor, port() and the counters may be used from any thread.
class TcpAcceptor {
public:
    static constexpr std::chrono::milliseconds kFirstBackOff{100};
    static constexpr std::chrono::milliseconds kLongestBackOff{1000};

    struct Limits {
        std::size_t maxConnections = 1000;
        std::size_t maxPerAddress = 64;
    };

    // Called on the strand with each accepted connection within the limits.
    using OnAccept = std::function<void(AcceptedConnection)>;

    // Binds and listens (throws boost::system::system_error when the address
    // cannot be taken).
    TcpAcceptor(IoStrand strand, const boost::asio::ip::tcp::endpoint& at, Limits limits);
    // The owner stops the I/O thread first; safe in any state.
    ~TcpAcceptor();
    TcpAcceptor(const TcpAcceptor&) = delete;
    TcpAcceptor& operator=(const TcpAcceptor&) = delete;

    u16 port() const { return port_; }
    // Starts accepting (posted to the strand).
    void start(OnAccept onAccept);
    // Strand: a connection handed on has ended; `name` is its endpoint
    // string. Each connection is released once; an unknown name is ignored.
    void release(const std::string& name);
    // Strand: accepting ends (the listening socket closes).
    void stop();
    // Strand: writes the counts of held-back log lines (about once a second).
    void flushLog() { log_.flush(); }

    // Strand only (tests read them through the owner).
    std::size_t open() const { return open_; }
    u64 refused() const { return refused_; }
    u64 failures() const { return failures_; }
    // The wait before the next accept after the last failure; 0 after a
    // success.
    std::chrono::milliseconds backOff() const { return backOff_; }

    // The address part of an endpoint string ("10.0.0.2" of "10.0.0.2:4000").
    static std::string addressOf(const std::string& name);

private:
    void acceptNext();
    void onAccepted(const boost::system::error_code& error, boost::asio::ip::tcp::socket peer);

    IoStrand strand_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::steady_timer retry_;
    Limits limits_;
    u16 port_ = 0;
    OnAccept onAccept_;
    std::unordered_map<std::string, std::size_t> perAddress_;
    std::unordered_map<std::string, std::string> handedOn_;  // connection name -> address
    std::size_t open_ = 0;
    u64 refused_ = 0;
    u64 failures_ = 0;
    std::chrono::milliseconds backOff_{0};
    bool stopped_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    Convinience::RateLimitedLog log_;
};

}  // namespace Ferro
