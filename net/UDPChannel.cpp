#include "net/UDPChannel.h"

#include <sys/socket.h>

#include <atomic>
#include <boost/asio/bind_executor.hpp>
#include <boost/asio/post.hpp>
#include <mutex>
#include <vector>

#include "foundation/Logger.h"
#include "foundation/RateLimitedLog.h"
#include "net/Endpoint.h"

namespace Ferro {

using boost::asio::ip::udp;

struct UDPSender::State : std::enable_shared_from_this<UDPSender::State> {
    State(IoStrand s, std::shared_ptr<udp::socket> so)
        : strand(std::move(s)), socket(std::move(so)), fd(socket->native_handle()) {}

    IoStrand strand;
    std::shared_ptr<udp::socket> socket;
    Convinience::Logger logger;
    Convinience::RateLimitedLog limited;
    std::atomic<u64> oversize{0};
    // The socket's descriptor, for sendNow: it stays open while the sender
    // lives, and the system call needs no lock.
    int fd;
    std::atomic<u64> dropped{0};

    void refuse(std::size_t size, const std::string& endpoint) {
        ++oversize;
        limited.log(Convinience::severity::error, "oversize datagrams",
                    "Refused to send a datagram of " + std::to_string(size) + " bytes to " + endpoint +
                        ": above " + std::to_string(kMaxDatagramSize));
    }
};

UDPSender::UDPSender(IoStrand strand, std::shared_ptr<udp::socket> socket) {
    if (!socket) throw InvalidUDPSenderConstruction();
    socket->non_blocking(true);
    state_ = std::make_shared<State>(std::move(strand), std::move(socket));
}

UDPSender::~UDPSender() = default;

void UDPSender::send(const std::vector<u8>& bytes, const std::string& endpoint) {
    if (bytes.size() > kMaxDatagramSize) {
        state_->refuse(bytes.size(), endpoint);
        return;
    }
    send(std::vector<u8>(bytes), endpoint);
}

bool UDPSender::sendNow(const u8* bytes, std::size_t size, const udp::endpoint& to) {
    if (size > kMaxDatagramSize) {
        state_->refuse(size, endpointString(to));
        return false;
    }
    if (::sendto(state_->fd, bytes, size, MSG_DONTWAIT, to.data(), static_cast<socklen_t>(to.size())) < 0) {
        ++state_->dropped;
        state_->limited.log(Convinience::severity::warn, "datagrams not taken",
                            "A datagram to " + endpointString(to) + " was dropped: the system took no more");
        return false;
    }
    return true;
}

u64 UDPSender::droppedNow() const {
    return state_->dropped.load();
}

u64 UDPSender::refusedOversize() const {
    return state_->oversize.load();
}

void UDPSender::send(std::vector<u8>&& bytes, const std::string& endpoint) {
    if (bytes.size() > kMaxDatagramSize) {
        state_->refuse(bytes.size(), endpoint);
        return;
    }
    const auto destination = parseEndpoint(endpoint);
    if (!destination) {
        state_->logger.log(Convinience::severity::error,
                           "Invalid endpoint string " + endpoint + ", datagram dropped");
        return;
    }
    auto datagram = std::make_shared<std::vector<u8>>(std::move(bytes));
    boost::asio::post(state_->strand, [state = state_, datagram, to = *destination] {
        state->socket->async_send_to(
            boost::asio::buffer(*datagram), to,
            boost::asio::bind_executor(
                state->strand, [state, datagram](const boost::system::error_code& error, std::size_t) {
                    if (error && error != boost::asio::error::operation_aborted) {
                        state->logger.log(Convinience::severity::error,
                                          "Error sending UDP packet [" + errorCodeText(error) + "]");
                    }
                }));
    });
}

// The buffer, the source and the started flag are used on the strand only;
// the mutex guards the receiver pointer against the destructor.
struct UDPReciever::State : std::enable_shared_from_this<UDPReciever::State> {
    State(IoStrand s, std::shared_ptr<udp::socket> so, Convinience::Reciever& r)
        : strand(std::move(s)), socket(std::move(so)), reciever(&r), buffer(kDatagramSize) {}

    void receiveNext();
    void onReceive(const boost::system::error_code& error, std::size_t n);

    IoStrand strand;
    std::shared_ptr<udp::socket> socket;
    std::recursive_mutex sinkMutex;
    Convinience::Reciever* reciever;  // guarded by sinkMutex
    std::vector<u8> buffer;
    udp::endpoint source;
    bool started = false;
    bool active = true;
    Convinience::Logger logger;
};

void UDPReciever::State::receiveNext() {
    socket->async_receive_from(
        boost::asio::buffer(buffer), source,
        boost::asio::bind_executor(
            strand, [self = shared_from_this()](const boost::system::error_code& error, std::size_t n) {
                self->onReceive(error, n);
            }));
}

void UDPReciever::State::onReceive(const boost::system::error_code& error, std::size_t n) {
    if (!active || error == boost::asio::error::operation_aborted || !socket->is_open()) return;
    if (!error && n > 0) {
        std::lock_guard lock(sinkMutex);
        if (reciever != nullptr) {
            try {
                reciever->receive(buffer.data(), n, endpointString(source));
            } catch (const std::exception& e) {
                logger.log(Convinience::severity::error, std::string("Receiver failed: ") + e.what());
            }
        }
    }
    receiveNext();
}

UDPReciever::UDPReciever(IoStrand strand, std::shared_ptr<udp::socket> socket,
                         Convinience::Reciever& reciever) {
    if (!socket) throw InvalidUDPRecieverConstruction();
    socket->non_blocking(true);
    state_ = std::make_shared<State>(std::move(strand), std::move(socket), reciever);
}

UDPReciever::~UDPReciever() {
    {
        std::lock_guard lock(state_->sinkMutex);
        state_->reciever = nullptr;
    }
    boost::asio::post(state_->strand, [state = state_] { state->active = false; });
}

void UDPReciever::startReceiving() {
    boost::asio::post(state_->strand, [state = state_] {
        if (state->started || !state->active) return;
        state->started = true;
        state->receiveNext();
    });
}

}  // namespace Ferro
