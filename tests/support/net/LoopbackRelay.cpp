#include "support/net/LoopbackRelay.h"

#include <algorithm>
#include <boost/asio/connect.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <functional>
#include <stdexcept>

#ifdef __linux__
#include <linux/sockios.h>
#include <sys/ioctl.h>
#endif

#include "net/Endpoint.h"

namespace zarn_test {

using boost::asio::ip::tcp;
using boost::asio::ip::udp;

namespace {

const auto kLoopback = boost::asio::ip::address_v4::loopback();
constexpr std::chrono::milliseconds kHoldLimit{20};

// Bytes that a socket has not yet had acknowledged by its peer.
int unsentBytes(tcp::socket& socket) {
#ifdef __linux__
    int queued = 0;
    if (::ioctl(socket.native_handle(), SIOCOUTQ, &queued) == 0) return queued;
#endif
    return 0;
}

void abortSocket(tcp::socket& socket) {
    boost::system::error_code ignored;
    if (!socket.is_open()) return;
    socket.set_option(boost::asio::socket_base::linger(true, 0), ignored);
    socket.close(ignored);
}

}  // namespace

// One relayed TCP connection: the client's socket and the relay's own
// connection to the target, with a read buffer per direction.
struct LoopbackRelay::Pipe {
    explicit Pipe(boost::asio::io_context& io) : client(io), target(io) {}
    tcp::socket& from(bool towardsTarget) { return towardsTarget ? client : target; }
    tcp::socket& to(bool towardsTarget) { return towardsTarget ? target : client; }

    tcp::socket client;
    tcp::socket target;
    std::vector<u8> buffer[2] = {std::vector<u8>(4096), std::vector<u8>(4096)};
    bool cut = false;
};

LoopbackRelay::LoopbackRelay(u16 targetPort, RelayFaults faults)
    : faults_(faults),
      random_(faults.seed),
      target_(kLoopback, targetPort),
      frontUdp_(io_),
      backUdp_(io_),
      frontBuffer_(65536),
      backBuffer_(65536) {
    // Each side's UDP port must also be free for TCP.
    for (int attempt = 0; attempt < 50 && frontPort_ == 0; ++attempt) {
        udp::socket candidate(io_, udp::endpoint(kLoopback, 0));
        try {
            acceptor_ = std::make_unique<tcp::acceptor>(
                io_, tcp::endpoint(kLoopback, candidate.local_endpoint().port()));
        } catch (const boost::system::system_error&) {
            continue;
        }
        frontPort_ = candidate.local_endpoint().port();
        frontUdp_ = std::move(candidate);
    }
    for (int attempt = 0; attempt < 50 && backPort_ == 0; ++attempt) {
        udp::socket candidate(io_, udp::endpoint(kLoopback, 0));
        tcp::socket probe(io_);
        boost::system::error_code error;
        probe.open(tcp::v4());
        probe.set_option(boost::asio::socket_base::reuse_address(true));
        probe.bind(tcp::endpoint(kLoopback, candidate.local_endpoint().port()), error);
        if (error) continue;
        backPort_ = candidate.local_endpoint().port();
        backUdp_ = std::move(candidate);
    }
    if (frontPort_ == 0 || backPort_ == 0) throw std::runtime_error("relay found no ports");
    // Room for bursts: what the relay loses must be only what it chose to.
    boost::system::error_code ignored;
    frontUdp_.set_option(boost::asio::socket_base::receive_buffer_size(4 * 1024 * 1024), ignored);
    backUdp_.set_option(boost::asio::socket_base::receive_buffer_size(4 * 1024 * 1024), ignored);
    receiveFront();
    receiveBack();
    acceptNext();
    thread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        io_.run();
    });
}

LoopbackRelay::~LoopbackRelay() {
    io_.stop();
    thread_.join();
}

std::string LoopbackRelay::endpoint() const {
    return Ferro::endpointString(kLoopback, frontPort_);
}
std::string LoopbackRelay::backEndpoint() const {
    return Ferro::endpointString(kLoopback, backPort_);
}

bool LoopbackRelay::waitIdle(std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (pending_ == 0) return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

RelayStats LoopbackRelay::stats(RelayDirection direction) const {
    std::lock_guard lock(mutex_);
    return stats_[static_cast<int>(direction)];
}

std::vector<std::vector<u8>> LoopbackRelay::wholeDatagrams(RelayDirection direction) const {
    std::lock_guard lock(mutex_);
    return whole_[static_cast<int>(direction)];
}

std::size_t LoopbackRelay::tcpBytesToTarget() const {
    std::lock_guard lock(mutex_);
    return tcpBytesToTarget_;
}

std::size_t LoopbackRelay::tcpBytesToClient() const {
    std::lock_guard lock(mutex_);
    return tcpBytesToClient_;
}

bool LoopbackRelay::chance(double probability) {
    return probability > 0 && std::uniform_real_distribution<double>(0.0, 1.0)(random_) < probability;
}

std::chrono::milliseconds LoopbackRelay::randomDelay(std::chrono::milliseconds max) {
    if (max.count() <= 0) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(std::uniform_int_distribution<long>(0, max.count())(random_));
}

void LoopbackRelay::receiveFront() {
    frontUdp_.async_receive_from(boost::asio::buffer(frontBuffer_), frontSource_,
                                 [this](const boost::system::error_code& error, std::size_t n) {
                                     if (error == boost::asio::error::operation_aborted) return;
                                     if (!error) {
                                         client_ = frontSource_;
                                         clientKnown_ = true;
                                         carry(
                                             RelayDirection::ToTarget,
                                             std::vector<u8>(frontBuffer_.begin(), frontBuffer_.begin() + n));
                                     }
                                     receiveFront();
                                 });
}

void LoopbackRelay::receiveBack() {
    backUdp_.async_receive_from(boost::asio::buffer(backBuffer_), backSource_,
                                [this](const boost::system::error_code& error, std::size_t n) {
                                    if (error == boost::asio::error::operation_aborted) return;
                                    if (!error) {
                                        carry(RelayDirection::ToClient,
                                              std::vector<u8>(backBuffer_.begin(), backBuffer_.begin() + n));
                                    }
                                    receiveBack();
                                });
}

void LoopbackRelay::carry(RelayDirection direction, std::vector<u8> bytes) {
    const int d = static_cast<int>(direction);
    std::lock_guard lock(mutex_);
    ++stats_[d].received;
    if (chance(faults_.drop)) {
        ++stats_[d].dropped;
        return;
    }
    const int copies = chance(faults_.duplicate) ? 2 : 1;
    if (copies == 2) ++stats_[d].duplicated;
    const bool heldBefore = held_[d] != nullptr;
    std::vector<Datagram> leaving;
    for (int copy = 0; copy < copies; ++copy) {
        Datagram datagram{bytes, true};
        if (chance(faults_.truncate) && bytes.size() > 1) {
            datagram.bytes.resize(std::uniform_int_distribution<std::size_t>(1, bytes.size() - 1)(random_));
            datagram.whole = false;
        }
        ++pending_;
        if (!held_[d] && chance(faults_.reorder)) {
            ++stats_[d].reordered;
            held_[d] = std::make_unique<Datagram>(std::move(datagram));
            heldTimer_[d] = std::make_unique<boost::asio::steady_timer>(io_, kHoldLimit);
            heldTimer_[d]->async_wait([this, d](const boost::system::error_code& error) {
                if (error || !held_[d]) return;
                Datagram released = std::move(*held_[d]);
                held_[d].reset();
                emit(static_cast<RelayDirection>(d), std::move(released), std::chrono::milliseconds(0));
            });
            continue;
        }
        leaving.push_back(std::move(datagram));
    }
    // What leaves now goes first; a datagram held back before it follows.
    std::chrono::milliseconds last{0};
    for (auto& datagram : leaving) {
        last = std::max(last, randomDelay(faults_.maxDelay));
        emit(direction, std::move(datagram), last);
    }
    if (heldBefore && !leaving.empty()) {
        heldTimer_[d]->cancel();
        Datagram released = std::move(*held_[d]);
        held_[d].reset();
        emit(direction, std::move(released), last + std::chrono::milliseconds(1));
    }
}

// Sends after the delay (at the earliest once the calling handler is done);
// the datagram was counted in pending_ and is taken off when it leaves.
void LoopbackRelay::emit(RelayDirection direction, Datagram datagram, std::chrono::milliseconds delay) {
    if (delay.count() == 0) {
        boost::asio::post(io_, [this, direction, datagram = std::move(datagram)] {
            sendNow(direction, datagram);
            std::lock_guard lock(mutex_);
            --pending_;
        });
        return;
    }
    auto timer = std::make_shared<boost::asio::steady_timer>(io_, delay);
    timer->async_wait(
        [this, timer, direction, datagram = std::move(datagram)](const boost::system::error_code&) {
            sendNow(direction, datagram);
            std::lock_guard lock(mutex_);
            --pending_;
        });
}

void LoopbackRelay::sendNow(RelayDirection direction, const Datagram& datagram) {
    boost::system::error_code ignored;
    if (direction == RelayDirection::ToTarget) {
        backUdp_.send_to(boost::asio::buffer(datagram.bytes), target_, 0, ignored);
    } else if (clientKnown_) {
        frontUdp_.send_to(boost::asio::buffer(datagram.bytes), client_, 0, ignored);
    } else {
        return;  // nobody to send it to yet
    }
    std::lock_guard lock(mutex_);
    const int d = static_cast<int>(direction);
    if (!datagram.whole) {
        ++stats_[d].truncated;
        return;
    }
    ++stats_[d].forwardedWhole;
    whole_[d].push_back(datagram.bytes);
}

void LoopbackRelay::acceptNext() {
    acceptor_->async_accept([this](const boost::system::error_code& error, tcp::socket client) {
        if (error == boost::asio::error::operation_aborted) return;
        if (!error) {
            auto pipe = std::make_shared<Pipe>(io_);
            pipe->client = std::move(client);
            boost::system::error_code ec;
            pipe->target.open(tcp::v4(), ec);
            pipe->target.set_option(boost::asio::socket_base::reuse_address(true), ec);
            pipe->target.bind(tcp::endpoint(kLoopback, backPort_), ec);
            pipe->target.async_connect(tcp::endpoint(kLoopback, target_.port()),
                                       [this, pipe](const boost::system::error_code& e) {
                                           if (e) {
                                               abortSocket(pipe->client);
                                               return;
                                           }
                                           // Each piece leaves as a segment of its own, and
                                           // nothing waits in a send queue when the stream is cut.
                                           boost::system::error_code ignored;
                                           pipe->client.set_option(tcp::no_delay(true), ignored);
                                           pipe->target.set_option(tcp::no_delay(true), ignored);
                                           pump(pipe, true);
                                           pump(pipe, false);
                                       });
        }
        acceptNext();
    });
}

void LoopbackRelay::pump(const std::shared_ptr<Pipe>& pipe, bool towardsTarget) {
    auto& buffer = pipe->buffer[towardsTarget ? 0 : 1];
    pipe->from(towardsTarget)
        .async_read_some(boost::asio::buffer(buffer),
                         [this, pipe, towardsTarget](const boost::system::error_code& error, std::size_t n) {
                             if (pipe->cut) return;
                             if (!error) {
                                 writePieces(pipe, towardsTarget, 0, n);
                                 return;
                             }
                             if (error == boost::asio::error::operation_aborted) return;
                             boost::system::error_code ignored;
                             if (error == boost::asio::error::eof) {
                                 pipe->to(towardsTarget).shutdown(tcp::socket::shutdown_send, ignored);
                             } else {
                                 abortSocket(pipe->to(towardsTarget));
                             }
                         });
}

void LoopbackRelay::writePieces(const std::shared_ptr<Pipe>& pipe, bool towardsTarget, std::size_t at,
                                std::size_t end) {
    if (pipe->cut) return;
    if (at == end) {
        pump(pipe, towardsTarget);
        return;
    }
    std::size_t piece = end - at;
    if (faults_.maxTcpPiece > 0) {
        piece = std::uniform_int_distribution<std::size_t>(1, std::min(faults_.maxTcpPiece, piece))(random_);
    }
    bool cutAfter = false;
    if (towardsTarget && faults_.cutTcpAfter > 0) {
        std::lock_guard lock(mutex_);
        const std::size_t left = faults_.cutTcpAfter - std::min(faults_.cutTcpAfter, tcpBytesToTarget_);
        if (piece >= left) {
            piece = left;
            cutAfter = true;
        }
    }
    const auto delay = randomDelay(faults_.maxTcpDelay);
    {
        std::lock_guard lock(mutex_);
        ++pending_;
    }
    auto timer = std::make_shared<boost::asio::steady_timer>(io_, delay);
    timer->async_wait([this, timer, pipe, towardsTarget, at, end, piece,
                       cutAfter](const boost::system::error_code&) {
        const auto& buffer = pipe->buffer[towardsTarget ? 0 : 1];
        boost::asio::async_write(pipe->to(towardsTarget), boost::asio::buffer(buffer.data() + at, piece),
                                 [this, pipe, towardsTarget, at, end, piece, cutAfter](
                                     const boost::system::error_code& error, std::size_t) {
                                     {
                                         std::lock_guard lock(mutex_);
                                         --pending_;
                                         if (!error)
                                             (towardsTarget ? tcpBytesToTarget_ : tcpBytesToClient_) += piece;
                                     }
                                     if (error) return;
                                     if (cutAfter) {
                                         cut(pipe);
                                         return;
                                     }
                                     writePieces(pipe, towardsTarget, at + piece, end);
                                 });
    });
}

void LoopbackRelay::cut(const std::shared_ptr<Pipe>& pipe) {
    pipe->cut = true;
    // An abortive close throws away what the kernel has not sent yet; the
    // bytes before the cut must reach the target first.
    auto timer = std::make_shared<boost::asio::steady_timer>(io_);
    auto waited = std::make_shared<int>(0);
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [this, pipe, timer, waited, attempt] {
        if (unsentBytes(pipe->target) > 0 && ++*waited < 1000) {
            timer->expires_after(std::chrono::milliseconds(1));
            timer->async_wait([attempt](const boost::system::error_code&) { (*attempt)(); });
            return;
        }
        abortSocket(pipe->client);
        abortSocket(pipe->target);
        *attempt = nullptr;  // ends the cycle of owners
    };
    (*attempt)();
}

}  // namespace zarn_test
