#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "foundation/Types.h"
#include "net/IoStrand.h"

namespace Ferro {

// Opens a client's TCP connection to a server. The socket is made at
// construction, bound to the IPv4 wildcard address and the given local port
// (0: the system picks), and shared with the TCP sender and reader once it is
// connected; its owner registers it there under the server's endpoint string.
//
// Nagle's algorithm is off on the connected socket: a packet leaves at once
// instead of waiting for the acknowledgement of the one before. Host names
// are resolved to IPv4 addresses. Both connects give up after
// connectTimeout, so a server that never answers cannot hold a caller for
// long. After a failed attempt the socket is made again, so a new attempt can
// follow.
class TCPConnector {
public:
    static constexpr std::chrono::milliseconds kDefaultConnectTimeout{5000};

    // Throws boost::system::system_error when the socket cannot be opened or
    // bound ("open", "bind").
    TCPConnector(IoStrand strand, u16 localPort);
    // Safe in any state and while the I/O thread runs: a connect under way is
    // abandoned and its callbacks are never called after this returns.
    ~TCPConnector();
    TCPConnector(const TCPConnector&) = delete;
    TCPConnector& operator=(const TCPConnector&) = delete;

    // Connects and waits for the result (at most connectTimeout after the
    // name has resolved). Call it before any thread works with the socket.
    // Logs and returns false on failure.
    bool connect(const std::string& host, const std::string& port);
    // Starts a connect on the strand and returns at once; exactly one of the
    // callbacks is called, on the thread that runs the io_context (it may
    // start a new attempt). Replaces the callbacks of an earlier attempt.
    void connectAsync(const std::string& host, const std::string& port, std::function<void()> onConnected,
                      std::function<void()> onFailed);

    // The socket; connected after a successful connect.
    std::shared_ptr<boost::asio::ip::tcp::socket> socket() const;
    // The local port the socket is bound to. Not while a connect is under way.
    u16 localPort() const;

    std::chrono::milliseconds connectTimeout = kDefaultConnectTimeout;

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace Ferro
