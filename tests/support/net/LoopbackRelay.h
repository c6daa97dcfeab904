#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Types.h"

namespace zarn_test {

// What the relay does to the traffic it carries. Every choice is drawn from
// one generator seeded with `seed`, so a run can be repeated.
struct RelayFaults {
    u32 seed = 1;
    // Per datagram, in each direction (probabilities 0 to 1).
    double drop = 0;
    double duplicate = 0;
    // Held back and sent after the next datagram (or after 20 ms).
    double reorder = 0;
    // Cut to a random shorter length (at least one byte).
    double truncate = 0;
    // Each datagram waits a random 0 to maxDelay before it leaves.
    std::chrono::milliseconds maxDelay{0};
    // The TCP stream is forwarded in pieces of 1 to maxTcpPiece bytes (0: as
    // read), each waiting a random 0 to maxTcpDelay; order is kept.
    std::size_t maxTcpPiece = 0;
    std::chrono::milliseconds maxTcpDelay{0};
    // Once this many bytes have gone towards the target, both TCP
    // connections are aborted (the stream is cut, possibly inside a packet).
    // 0: never.
    std::size_t cutTcpAfter = 0;
};

enum class RelayDirection { ToTarget = 0, ToClient = 1 };

// Counts of one direction. truncated and forwardedWhole count datagrams that
// left; one that came back before the client was known goes nowhere.
struct RelayStats {
    std::size_t received = 0;
    std::size_t dropped = 0;
    std::size_t duplicated = 0;
    std::size_t reordered = 0;
    std::size_t truncated = 0;
    std::size_t forwardedWhole = 0;
};

// A lossy relay on loopback between a client and a target (a server whose TCP
// listener and UDP socket share one port number). The client talks to the
// relay's front port over TCP and UDP as if it were the target; the target
// sees the client coming from the relay's back port (TCP and UDP alike).
// Datagrams are dropped, duplicated, reordered, delayed and truncated as the
// faults say; the TCP stream is cut into pieces and delayed, or cut off.
//
// Runs on a thread of its own; its accessors may be called from any thread.
class LoopbackRelay {
public:
    LoopbackRelay(u16 targetPort, RelayFaults faults);
    ~LoopbackRelay();
    LoopbackRelay(const LoopbackRelay&) = delete;
    LoopbackRelay& operator=(const LoopbackRelay&) = delete;

    u16 port() const { return frontPort_; }
    u16 backPort() const { return backPort_; }
    // "127.0.0.1:port" of the two.
    std::string endpoint() const;
    std::string backEndpoint() const;

    // Waits until nothing is held back or waiting to leave; false when the
    // time ran out first.
    bool waitIdle(std::chrono::milliseconds timeout) const;

    RelayStats stats(RelayDirection direction) const;
    // The datagrams that left whole in a direction, in the order they left.
    std::vector<std::vector<u8>> wholeDatagrams(RelayDirection direction) const;
    // Bytes of the TCP stream forwarded towards the target so far.
    std::size_t tcpBytesToTarget() const;
    // Bytes of the TCP stream forwarded towards the client so far.
    std::size_t tcpBytesToClient() const;

private:
    struct Pipe;
    struct Datagram {
        std::vector<u8> bytes;
        bool whole = true;
    };

    void receiveFront();
    void receiveBack();
    void carry(RelayDirection direction, std::vector<u8> bytes);
    void emit(RelayDirection direction, Datagram datagram, std::chrono::milliseconds delay);
    void sendNow(RelayDirection direction, const Datagram& datagram);
    void acceptNext();
    void pump(const std::shared_ptr<Pipe>& pipe, bool towardsTarget);
    void writePieces(const std::shared_ptr<Pipe>& pipe, bool towardsTarget, std::size_t at, std::size_t end);
    void cut(const std::shared_ptr<Pipe>& pipe);
    bool chance(double probability);
    std::chrono::milliseconds randomDelay(std::chrono::milliseconds max);

    RelayFaults faults_;
    std::mt19937 random_;
    boost::asio::io_context io_;
    boost::asio::ip::udp::endpoint target_;
    boost::asio::ip::udp::socket frontUdp_;
    boost::asio::ip::udp::socket backUdp_;
    std::unique_ptr<boost::asio::ip::tcp::acceptor> acceptor_;
    u16 frontPort_ = 0;
    u16 backPort_ = 0;
    boost::asio::ip::udp::endpoint client_;
    bool clientKnown_ = false;
    std::vector<u8> frontBuffer_;
    std::vector<u8> backBuffer_;
    boost::asio::ip::udp::endpoint frontSource_;
    boost::asio::ip::udp::endpoint backSource_;
    std::unique_ptr<Datagram> held_[2];
    std::unique_ptr<boost::asio::steady_timer> heldTimer_[2];

    mutable std::mutex mutex_;
    RelayStats stats_[2];                    // guarded by mutex_
    std::vector<std::vector<u8>> whole_[2];  // guarded by mutex_
    std::size_t pending_ = 0;                // guarded by mutex_
    std::size_t tcpBytesToTarget_ = 0;       // guarded by mutex_
    std::size_t tcpBytesToClient_ = 0;       // guarded by mutex_

    std::thread thread_;
};

}  // namespace zarn_test
