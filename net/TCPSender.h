#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Interfaces.h"
#include "net/IoStrand.h"

namespace Ferro {

// Writes packet bytes to the TCP connection registered under an endpoint
// string. send() may be called from any thread (the send thread) and never
// blocks or touches a socket: the bytes are copied and posted to the strand,
// where each connection has one write in flight and a queue behind it.
//
// A send to an endpoint with no connection is logged and dropped. A write
// error is logged once; the connection's queued bytes are then dropped, and so
// is everything sent to it later (a broken stream cannot be resumed). A peer
// that stops reading can hold at most maxQueuedBytes; more is dropped, and
// the overflow function (when set) is told, so that a server can drop that
// peer instead of another peer's notice.
class TCPSender : public Convinience::Sender {
public:
    static constexpr std::size_t kMaxQueuedBytes = 4 * 1024 * 1024;

    // Called on the strand with the endpoint whose queue overflowed, once
    // per connection; the connection takes nothing more.
    using OverflowFunction = std::function<void(const std::string& endpoint)>;

    explicit TCPSender(IoStrand strand, std::size_t maxQueuedBytes = kMaxQueuedBytes,
                       OverflowFunction onOverflow = {});
    // Safe in any state and while the I/O thread runs; writes under way
    // finish or fail on their own (the sockets belong to their owner).
    ~TCPSender() override;
    TCPSender(const TCPSender&) = delete;
    TCPSender& operator=(const TCPSender&) = delete;

    // Registers a connected socket under an endpoint string, replacing an
    // earlier registration. Any thread; takes effect on the strand, in order
    // with sends.
    void addConnection(const std::string& endpoint, std::shared_ptr<boost::asio::ip::tcp::socket> socket);
    // Forgets the connection registered under the endpoint (its queued
    // bytes go); any thread, in order with sends. The owner closes the socket.
    void removeConnection(const std::string& endpoint);
    void send(const std::vector<u8>& bytes, const std::string& endpoint) override;
    // The same without a copy: the bytes are moved to the strand.
    void send(std::vector<u8>&& bytes, const std::string& endpoint);

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace Ferro
