#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <memory>
#include <string>

#include "foundation/Interfaces.h"
#include "net/IoStrand.h"

namespace Ferro {

// Told when a registered TCP connection has ended.
class DisconnectHandler {
public:
    virtual ~DisconnectHandler() = default;
    // Called on the I/O thread with the endpoint string under which the
    // connection was registered, once per connection, after the reader has
    // closed and unregistered it.
    virtual void onDisconnect(const std::string& endpoint) = 0;
};

// Keeps reading every registered TCP connection, cuts the stream into packets
// by their stated length (PacketFramer) and hands each whole packet to the
// receiver processor with the connection's endpoint string.
//
// A reset, an orderly close (end of stream) and an aborted connection are a
// disconnect: the socket is closed, the connection unregistered and the
// disconnect handler called once. So is a stream whose next packet states a
// payload above kMaxPayloadSize, and so is any other read error (logged at
// ERROR first). A connection that its owner ends (removeConnection, or the
// socket closed while a packet of it is delivered, or replaced here) ends
// quietly: no log line, no disconnect call.
//
// Threads: reads, deliveries and the disconnect handler run on the strand
// (the I/O thread); addConnection and setDisconnectHandler may be called from
// any thread. Each connection has its own read buffer.
class TCPReciever {
public:
    // reciever: the client's receiver processor; outlives this reader or is
    // never called after this reader's destructor has returned.
    TCPReciever(IoStrand strand, Convinience::Reciever& reciever);
    // Safe in any state and while the I/O thread runs: after it returns
    // neither the receiver processor nor the disconnect handler is called
    // again. Reads under way end when their socket closes (the sockets belong
    // to their owner, who closes them).
    ~TCPReciever();
    TCPReciever(const TCPReciever&) = delete;
    TCPReciever& operator=(const TCPReciever&) = delete;

    // handler may be null (nothing is told); not owned, outlives this reader
    // or is replaced before it goes.
    void setDisconnectHandler(DisconnectHandler* handler);
    // Registers a connected socket under an endpoint string and starts
    // reading it; a registration under the same endpoint is replaced (its
    // reading stops). Takes effect on the strand.
    void addConnection(const std::string& endpoint, std::shared_ptr<boost::asio::ip::tcp::socket> socket);
    // Stops reading the connection registered under the endpoint and forgets
    // it; nothing more of it is delivered and no disconnect is told. The
    // owner closes the socket. Takes effect on the strand, in order with
    // addConnection.
    void removeConnection(const std::string& endpoint);

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace Ferro
