#pragma once

#include <boost/asio/ip/udp.hpp>
#include <exception>
#include <memory>
#include <string>

#include "foundation/Interfaces.h"
#include "net/IoStrand.h"
#include "net/TCPSender.h"

namespace Ferro {

class InvalidUDPSenderConstruction : public std::exception {
public:
    const char* what() const noexcept override { return "UDP sender without a socket"; }
};

class InvalidUDPRecieverConstruction : public std::exception {
public:
    const char* what() const noexcept override { return "UDP reader without a socket"; }
};

// Sends each packet as one datagram to an endpoint string. send() may be
// called from any thread (the send thread) and never blocks or throws: the
// bytes are copied and the send is posted to the strand. An endpoint that is
// not canonical ("a.b.c.d:port", see net/Endpoint.h) is logged and the
// datagram dropped; so is a datagram above kMaxDatagramSize bytes, which no
// receiver would take whole (at most one line a second); send errors are
// logged.
//
// The socket is the client's (opened and bound by its owner, on the strand's
// io_context) and shared with the UDPReciever.
class UDPSender : public Convinience::Sender {
public:
    static constexpr std::size_t kMaxDatagramSize = 4096;

    // Throws InvalidUDPSenderConstruction for a null socket and
    // boost::system::system_error when it cannot be made non-blocking.
    UDPSender(IoStrand strand, std::shared_ptr<boost::asio::ip::udp::socket> socket);
    ~UDPSender() override;
    UDPSender(const UDPSender&) = delete;
    UDPSender& operator=(const UDPSender&) = delete;

    void send(const std::vector<u8>& bytes, const std::string& endpoint) override;
    // The same without a copy.
    void send(std::vector<u8>&& bytes, const std::string& endpoint);
    // Sends the datagram at once, on the caller's thread (any thread), with a
    // system call that never blocks: no copy and no trip through the strand,
    // for a server that sends many datagrams from many threads. False, and
    // the datagram dropped (counted), when the kernel cannot take it now or
    // it is above the size limit.
    bool sendNow(const u8* bytes, std::size_t size, const boost::asio::ip::udp::endpoint& to);
    // Datagrams refused for their size since construction (any thread).
    u64 refusedOversize() const;
    // Datagrams sendNow dropped because the kernel could not take them.
    u64 droppedNow() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Keeps receiving datagrams on the client's UDP socket and hands each to the
// receiver processor with its source as an endpoint string ("a.b.c.d:port").
// A datagram holds one packet; bytes after it are ignored, and a datagram of
// more than kDatagramSize bytes arrives cut (and is dropped as a short
// packet). A zero-byte datagram or a receive error is skipped and the next
// receive started; receiving ends only when the socket closes.
//
// Threads: receives and deliveries run on the strand (the I/O thread);
// startReceiving may be called from any thread.
class UDPReciever {
public:
    static constexpr std::size_t kDatagramSize = 4096;

    // Throws InvalidUDPRecieverConstruction for a null socket and
    // boost::system::system_error when it cannot be made non-blocking.
    // reciever: outlives this reader or is never called after its destructor
    // has returned.
    UDPReciever(IoStrand strand, std::shared_ptr<boost::asio::ip::udp::socket> socket,
                Convinience::Reciever& reciever);
    // Safe in any state and while the I/O thread runs: after it returns the
    // receiver processor is not called again.
    ~UDPReciever();
    UDPReciever(const UDPReciever&) = delete;
    UDPReciever& operator=(const UDPReciever&) = delete;

    // Starts the receive loop (a second call does nothing). Takes effect on
    // the strand.
    void startReceiving();

private:
    struct State;
    std::shared_ptr<State> state_;
};

// The game client's two channels behind one interface: send() is a UDP
// datagram, sendReliable() a write to the TCP connection. Both may be called
// from any thread and never block.
class TCPUDPSender : public Convinience::ReliableSender {
public:
    TCPUDPSender(IoStrand strand, std::shared_ptr<boost::asio::ip::udp::socket> udpSocket)
        : udp_(strand, std::move(udpSocket)), tcp_(strand) {}

    void send(const std::vector<u8>& bytes, const std::string& endpoint) override {
        udp_.send(bytes, endpoint);
    }
    void sendReliable(const std::vector<u8>& bytes, const std::string& endpoint) override {
        tcp_.send(bytes, endpoint);
    }

    // Where the owner registers the TCP connection.
    TCPSender& tcp() { return tcp_; }
    UDPSender& udp() { return udp_; }

private:
    UDPSender udp_;
    TCPSender tcp_;
};

}  // namespace Ferro
