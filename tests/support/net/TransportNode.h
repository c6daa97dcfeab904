#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "net/AckFieldTracker.h"
#include "net/ClientEndpointTable.h"
#include "net/DeliveryTracker.h"
#include "net/IoStrand.h"
#include "net/RecieverProcessor.h"
#include "net/SenderProcessor.h"
#include "net/TCPConnector.h"
#include "net/TCPReciever.h"
#include "net/UDPChannel.h"

namespace zarn_test {

// One side of a game connection on loopback, with the whole transport that a
// networked client assembles: rings, endpoint table, receiver and reliable
// sender processors, TCP reader, UDP reader and the combined TCP+UDP sender,
// an I/O thread and a send thread. Its TCP and UDP sockets share one port
// number, picked by the system, as a game server's do; a client node may
// have them on two ports instead (sharePort false), as a client built to the
// letter of its description does.
//
// A server node listens and registers every accepted connection under the
// peer's endpoint string; a client node connects. The test thread is the
// only producer of `outgoing` (send) and the only consumer of `incoming`
// (waitForIncoming). Destruction stops and joins both threads in any state.
class TransportNode {
public:
    enum class Role { Server, Client };

    explicit TransportNode(Role role, bool sharePort = true);
    ~TransportNode();
    TransportNode(const TransportNode&) = delete;
    TransportNode& operator=(const TransportNode&) = delete;

    // The port of both sockets (of the UDP socket when they have two), and
    // "127.0.0.1:port".
    u16 port() const { return port_; }
    std::string endpoint() const;

    // Client: connects the TCP socket and registers it (sender and reader)
    // under "127.0.0.1:port". Call before start().
    bool connectTo(u16 serverPort);
    // Starts the I/O thread (UDP receive, TCP reads, accepts) and the send
    // thread.
    void start();
    // Stops both threads and joins them; safe more than once.
    void stop();

    // Queues a record and wakes the sender; false when the ring is full.
    bool send(Corvel::QueuedMessage message);
    // Takes records off the incoming ring until `count` have come or the
    // time is up.
    std::vector<Corvel::QueuedMessage> waitForIncoming(std::size_t count, std::chrono::milliseconds timeout);
    // Takes whatever the incoming ring holds now.
    std::vector<Corvel::QueuedMessage> drainIncoming();

    // Called on the I/O thread with the endpoint of each accepted connection.
    std::function<void(const std::string&)> onAccepted;

    boost::asio::io_context io;
    Ferro::IoStrand strand{io.get_executor()};
    Convinience::Stopwatch clock;
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue outgoing{256};
    Corvel::MessageQueue incoming{256};
    Ferro::ClientEndpointTable endpoints;
    Ferro::ClientIDResolver resolver{endpoints};
    Ferro::RecieverProcessor reciever{acknowledgements, resolver, &clock, incoming};
    std::shared_ptr<boost::asio::ip::udp::socket> udpSocket;
    std::unique_ptr<boost::asio::ip::tcp::acceptor> acceptor;
    std::unique_ptr<Ferro::TCPConnector> connector;
    std::unique_ptr<Ferro::UDPReciever> udpReader;
    std::unique_ptr<Ferro::TCPReciever> tcpReader;
    std::unique_ptr<Ferro::TCPUDPSender> channels;
    std::unordered_map<u32, i32> ackAges;
    Ferro::DeliveryTracker delivery{acknowledgements, &clock};
    Ferro::AckFieldTracker ackFields{&ackAges, &delivery.acknowledged};
    Ferro::PacketStamp stamp{Ferro::kApplicationId, 0, &ackFields};
    std::unique_ptr<Ferro::ReliableSenderProcessor> sender;

private:
    void accept();

    Role role_;
    u16 port_ = 0;
    std::thread ioThread_;
    std::thread sendThread_;
    bool started_ = false;
};

// A message record with the given IDs, reliability and payload.
Corvel::QueuedMessage makeMessage(u32 from, u32 to, bool reliable, std::vector<u8> payload);

}  // namespace zarn_test
