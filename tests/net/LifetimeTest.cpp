#include <gtest/gtest.h>

#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <chrono>
#include <functional>
#include <thread>

#include "net/Endpoint.h"
#include "support/net/RawTcpPeer.h"
#include "support/net/TransportNode.h"
#include "support/net/Waiting.h"

using namespace std::chrono_literals;
using zarn_test::timed;
using zarn_test::TransportNode;

namespace {

constexpr auto kBound = 2s;

// A connected pair: the server knows the client as ID 2, the client the
// server as ID 9.
struct Pair {
    Pair() {
        server->endpoints.assign(2, client->endpoint());
        client->endpoints.assign(9, server->endpoint());
        server->start();
        EXPECT_TRUE(client->connectTo(server->port()));
        client->start();
    }
    std::unique_ptr<TransportNode> server = std::make_unique<TransportNode>(TransportNode::Role::Server);
    std::unique_ptr<TransportNode> client = std::make_unique<TransportNode>(TransportNode::Role::Client);
};

// Counts deliveries and flags any that come after it was told its owner is
// gone.
class WatchfulReciever : public Convinience::Reciever {
public:
    void receive(const u8*, std::size_t, const std::string&) override {
        if (gone) lateCalls++;
        calls++;
    }
    std::atomic<bool> gone{false};
    std::atomic<int> calls{0};
    std::atomic<int> lateCalls{0};
};

}  // namespace

TEST(TransportLifetime, NodesThatNeverStartedGoAtOnce) {
    for (const auto role : {TransportNode::Role::Server, TransportNode::Role::Client}) {
        std::unique_ptr<TransportNode> node;
        EXPECT_LT(timed([&] { node = std::make_unique<TransportNode>(role); }), kBound);
        EXPECT_LT(timed([&] { node.reset(); }), kBound);
    }
    // Started but never connected.
    auto idle = std::make_unique<TransportNode>(TransportNode::Role::Client);
    idle->start();
    EXPECT_LT(timed([&] { idle.reset(); }), kBound);
}

TEST(TransportLifetime, AConnectUnderWayIsAbandonedWithoutItsCallbacks) {
    zarn_test::SilentListener silent;
    zarn_test::RawTcpPeer quiet;  // completes the handshake, then says nothing
    for (const u16 target : {silent.port(), quiet.port()}) {
        auto node = std::make_unique<TransportNode>(TransportNode::Role::Client);
        node->start();
        std::atomic<int> calls{0};
        node->connector->connectAsync(
            "127.0.0.1", std::to_string(target), [&] { ++calls; }, [&] { ++calls; });
        std::this_thread::sleep_for(20ms);
        // The connector goes while its I/O thread runs on: whatever had not
        // been called by then never is.
        EXPECT_LT(timed([&] { node->connector.reset(); }), kBound);
        const int afterDestruction = calls;
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(calls, afterDestruction);
        EXPECT_LE(calls, 1);
        if (target == silent.port()) {
            EXPECT_EQ(calls, 0);
        }
        EXPECT_LT(timed([&] { node.reset(); }), kBound);
    }
}

TEST(TransportLifetime, RunningPairsGoWhileTrafficFlows) {
    for (const bool serverFirst : {false, true}) {
        auto pair = std::make_unique<Pair>();
        for (int i = 0; i < 200; ++i) {
            pair->client->send(zarn_test::makeMessage(2, 9, i % 3 == 0, std::vector<u8>(100 + i, 1)));
            pair->server->send(zarn_test::makeMessage(9, 2, i % 3 == 1, std::vector<u8>(50 + i, 2)));
        }
        EXPECT_LT(timed([&] {
                      if (serverFirst) pair->server.reset();
                      pair.reset();
                  }),
                  kBound);
    }
}

TEST(TransportLifetime, AClientGoesAfterItsServerReset) {
    Pair pair;
    pair.client->send(zarn_test::makeMessage(2, 9, true, {1, 2, 3}));
    ASSERT_EQ(pair.server->waitForIncoming(1, 5s).size(), 1u);
    zarn_test::RecordingDisconnects disconnects;
    pair.client->tcpReader->setDisconnectHandler(&disconnects);
    EXPECT_LT(timed([&] { pair.server.reset(); }), kBound);  // its sockets close under the client
    EXPECT_TRUE(zarn_test::eventually([&] { return !disconnects.taken().empty(); }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(disconnects.taken().size(), 1u);
    pair.client->send(zarn_test::makeMessage(2, 9, true, {4}));
    pair.client->send(zarn_test::makeMessage(2, 9, false, {5}));
    EXPECT_LT(timed([&] { pair.client.reset(); }), kBound);
}

TEST(TransportLifetime, ReadersCallNothingAfterTheirDestructorWhileDataArrives) {
    boost::asio::io_context io;
    Ferro::IoStrand strand(io.get_executor());
    zarn_test::RawTcpPeer peer;
    Ferro::TCPConnector connector(strand, 0);
    ASSERT_TRUE(connector.connect("127.0.0.1", std::to_string(peer.port())));
    peer.accept();
    auto udpSocket = std::make_shared<boost::asio::ip::udp::socket>(
        strand, boost::asio::ip::udp::endpoint(boost::asio::ip::address_v4::loopback(), 0));
    WatchfulReciever watcher;
    auto tcpReader = std::make_unique<Ferro::TCPReciever>(strand, watcher);
    auto udpReader = std::make_unique<Ferro::UDPReciever>(strand, udpSocket, watcher);
    tcpReader->addConnection(peer.endpoint(), connector.socket());
    udpReader->startReceiving();
    std::thread loop([&] {
        auto work = boost::asio::make_work_guard(io);
        Ferro::runEventLoop(io);
    });
    std::atomic<bool> sending{true};
    std::thread writer([&] {
        boost::asio::io_context peerIo;
        boost::asio::ip::udp::socket udpPeer(peerIo,
                                             boost::asio::ip::udp::endpoint(boost::asio::ip::udp::v4(), 0));
        std::vector<u8> packet(33, 0);
        // Paced and bounded, so that the TCP bytes fit the socket buffers
        // once nobody reads them any more.
        for (int i = 0; i < 3000 && sending; ++i) {
            peer.write(packet);
            udpPeer.send_to(boost::asio::buffer(packet), udpSocket->local_endpoint());
            std::this_thread::sleep_for(100us);
        }
    });
    const bool flowing = zarn_test::eventually([&] { return watcher.calls >= 50; });
    EXPECT_TRUE(flowing) << "the readers never delivered 50 packets";
    EXPECT_LT(timed([&] {
                  tcpReader.reset();
                  udpReader.reset();
              }),
              kBound);
    watcher.gone = true;
    std::this_thread::sleep_for(50ms);
    sending = false;
    writer.join();
    peer.abort();
    io.stop();
    loop.join();
    EXPECT_EQ(watcher.lateCalls, 0);
}
