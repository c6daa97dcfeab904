#include <gtest/gtest.h>

#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "net/Packet.h"
#include "net/RecieverProcessor.h"
#include "net/TCPConnector.h"
#include "net/TCPReciever.h"
#include "net/TCPSender.h"
#include "support/net/LogWatch.h"
#include "support/net/RawTcpPeer.h"
#include "support/net/Waiting.h"

using namespace std::chrono_literals;
using zarn_test::eventually;

namespace {

constexpr u32 kServer = 9;

std::vector<u8> serverPacket(std::size_t payloadSize, u8 fill) {
    Ferro::Packet1337 packet;
    packet.header.applicationId = Ferro::kApplicationId;
    packet.header.senderClientId = kServer;
    packet.header.destinationClientId = 2;
    packet.header.reliable = 1;
    packet.header.payloadLength = static_cast<u32>(payloadSize);
    packet.payload.assign(payloadSize, fill);
    if (payloadSize > 0) packet.payload.front() = static_cast<u8>(payloadSize >> 8);
    return packet.bytes();
}

// A client's TCP side against a bare peer: the connector, the reader feeding
// the real receiver processor, the sender, and an I/O thread.
struct TcpFixture : ::testing::Test {
    ~TcpFixture() override {
        io.stop();
        if (ioThread.joinable()) ioThread.join();
    }

    void connectAndRun() {
        connector = std::make_unique<Ferro::TCPConnector>(strand, 0);
        ASSERT_TRUE(connector->connect("127.0.0.1", std::to_string(peer.port())));
        peer.accept();
        endpoints.assign(kServer, peer.endpoint());
        reader.setDisconnectHandler(&disconnects);
        reader.addConnection(peer.endpoint(), connector->socket());
        writer.addConnection(peer.endpoint(), connector->socket());
        ioThread = std::thread([this] {
            auto work = boost::asio::make_work_guard(io);
            Ferro::runEventLoop(io);
        });
    }

    // Waits until the I/O thread has run what the strand holds now, twice
    // over (a handler may queue one more); false when it did not within the
    // deadline. For checking that nothing more happens.
    bool settled() {
        for (int round = 0; round < 2; ++round) {
            auto ran = std::make_shared<std::atomic<bool>>(false);
            boost::asio::post(strand, [ran] { *ran = true; });
            if (!eventually([&] { return ran->load(); })) return false;
        }
        return true;
    }

    std::vector<Corvel::QueuedMessage> waitForMessages(std::size_t count) {
        std::vector<Corvel::QueuedMessage> got;
        eventually([&] {
            Corvel::QueuedMessage m;
            while (incoming.pop(m)) got.push_back(std::move(m));
            return got.size() >= count;
        });
        return got;
    }

    boost::asio::io_context io;
    Ferro::IoStrand strand{io.get_executor()};
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue incoming{256};
    Ferro::ClientEndpointTable endpoints;
    Ferro::ClientIDResolver resolver{endpoints};
    Ferro::RecieverProcessor reciever{acknowledgements, resolver, nullptr, incoming};
    zarn_test::RecordingDisconnects disconnects;
    Ferro::TCPReciever reader{strand, reciever};
    Ferro::TCPSender writer{strand};
    zarn_test::RawTcpPeer peer;
    std::unique_ptr<Ferro::TCPConnector> connector;
    std::thread ioThread;
};

}  // namespace

TEST_F(TcpFixture, PacketsArriveWholeHoweverThePeerWritesThem) {
    connectAndRun();
    const std::size_t sizes[] = {0, 1, 255, 256, 257, 4000, 60000};
    enum class Writes { Whole, OneByteEach, TwoInOne };
    for (const Writes writes : {Writes::Whole, Writes::OneByteEach, Writes::TwoInOne}) {
        for (const std::size_t size : sizes) {
            const std::vector<u8> bytes = serverPacket(size, static_cast<u8>(size));
            std::size_t expected = 1;
            switch (writes) {
                case Writes::Whole:
                    peer.write(bytes);
                    break;
                case Writes::OneByteEach:
                    peer.writeInPieces(bytes, 1);
                    break;
                case Writes::TwoInOne: {
                    std::vector<u8> two = bytes;
                    two.insert(two.end(), bytes.begin(), bytes.end());
                    peer.write(two);
                    expected = 2;
                    break;
                }
            }
            const auto got = waitForMessages(expected);
            ASSERT_EQ(got.size(), expected) << "size " << size << " writes " << static_cast<int>(writes);
            for (const auto& message : got) {
                EXPECT_EQ(message.fromClientId, kServer);
                EXPECT_EQ(message.bytes, std::vector<u8>(bytes.begin() + 33, bytes.end())) << size;
            }
        }
    }
    EXPECT_TRUE(disconnects.taken().empty());
}

TEST_F(TcpFixture, OrderlyCloseAndResetEachGiveExactlyOneDisconnect) {
    const struct {
        bool reset;
        const char* line;
    } cases[] = {{false, "[INFO]: Connection closed by peer ["},
                 {true, "[INFO]: Connection reset by peer ["}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        zarn_test::RawTcpPeer server;
        boost::asio::io_context clientIo;
        Ferro::IoStrand clientStrand(clientIo.get_executor());
        Ferro::TCPConnector client(clientStrand, 0);
        Ferro::TCPReciever clientReader(clientStrand, reciever);
        zarn_test::RecordingDisconnects seen;
        clientReader.setDisconnectHandler(&seen);
        ASSERT_TRUE(client.connect("127.0.0.1", std::to_string(server.port())));
        server.accept();
        clientReader.addConnection(server.endpoint(), client.socket());
        zarn_test::LogWatch log;
        std::thread loop([&] {
            auto work = boost::asio::make_work_guard(clientIo);
            Ferro::runEventLoop(clientIo);
        });
        if (c.reset) {
            server.abort();
        } else {
            server.closeOrderly();
        }
        EXPECT_TRUE(eventually([&] { return !seen.taken().empty(); }));
        std::this_thread::sleep_for(100ms);
        clientIo.stop();
        loop.join();
        EXPECT_EQ(seen.taken(), std::vector<std::string>{server.endpoint()});
        EXPECT_EQ(log.count(c.line + server.endpoint() + "]["), 1u) << log.text();
        EXPECT_FALSE(client.socket()->is_open());
    }
}

TEST_F(TcpFixture, AnyOtherReadErrorIsLoggedAndEndsTheConnectionOnce) {
    // A socket that was never connected fails its first read with an error
    // that is neither a reset nor an end of stream.
    auto unconnected = std::make_shared<boost::asio::ip::tcp::socket>(strand);
    unconnected->open(boost::asio::ip::tcp::v4());
    reader.setDisconnectHandler(&disconnects);
    zarn_test::LogWatch log;
    reader.addConnection("127.0.0.1:9", unconnected);
    ioThread = std::thread([this] {
        auto work = boost::asio::make_work_guard(io);
        Ferro::runEventLoop(io);
    });
    ASSERT_TRUE(eventually([&] { return !disconnects.taken().empty(); }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(disconnects.taken(), std::vector<std::string>{"127.0.0.1:9"});
    EXPECT_EQ(log.count("[ERROR]: Error recieving TCP packet ["), 1u) << log.text();
    EXPECT_FALSE(unconnected->is_open());
}

TEST_F(TcpFixture, AStatedPayloadAbove64KiBClosesTheConnection) {
    connectAndRun();
    zarn_test::LogWatch log;
    std::vector<u8> bytes = serverPacket(4, 1);
    const u32 huge = Ferro::kMaxPayloadSize + 1;
    std::memcpy(bytes.data() + 28, &huge, 4);
    std::vector<u8> stream = serverPacket(3, 7);
    stream.insert(stream.end(), bytes.begin(), bytes.end());
    peer.write(stream);
    EXPECT_EQ(waitForMessages(1).size(), 1u);
    EXPECT_TRUE(eventually([&] { return !disconnects.taken().empty(); }));
    EXPECT_EQ(disconnects.taken(), std::vector<std::string>{peer.endpoint()});
    EXPECT_EQ(log.count("[WARN]: Closing TCP connection [" + peer.endpoint() + "]: a packet states 65537"),
              1u);
    // The peer sees the end of the stream.
    EXPECT_THROW(peer.read(1), boost::system::system_error);
}

TEST_F(TcpFixture, SendsReachThePeerInOrderAndUnknownEndpointsAreDropped) {
    connectAndRun();
    zarn_test::LogWatch log;
    std::vector<u8> expected;
    for (int i = 0; i < 200; ++i) {
        const auto bytes = serverPacket(static_cast<std::size_t>(i * 37 % 3000), static_cast<u8>(i));
        writer.send(bytes, peer.endpoint());
        expected.insert(expected.end(), bytes.begin(), bytes.end());
    }
    writer.send({1, 2, 3}, "127.0.0.1:1");
    EXPECT_EQ(peer.read(expected.size()), expected);
    EXPECT_TRUE(
        eventually([&] { return log.count("No TCP connection to 127.0.0.1:1, packet dropped") == 1; }));
}

TEST_F(TcpFixture, WritesAfterTheConnectionBrokeAreLoggedOnceAndDropped) {
    connectAndRun();
    peer.abort();
    ASSERT_TRUE(eventually([&] { return !disconnects.taken().empty(); }));
    zarn_test::LogWatch log;
    for (int i = 0; i < 20; ++i) writer.send(serverPacket(10, 1), peer.endpoint());
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(log.count("[ERROR]: Error sending TCP packet ["), 1u);
}

TEST(TCPConnector, SynchronousConnectFailuresAreLoggedAndASecondAttemptCanSucceed) {
    boost::asio::io_context io;
    Ferro::IoStrand strand(io.get_executor());
    Ferro::TCPConnector connector(strand, 0);
    zarn_test::LogWatch log;
    EXPECT_FALSE(connector.connect("no-such-host.invalid", "80"));
    EXPECT_EQ(log.count("[ERROR]: Error connecting on TCP at no-such-host.invalid:80\n"), 1u);

    u16 closedPort;
    {
        zarn_test::RawTcpPeer gone;
        closedPort = gone.port();
    }
    EXPECT_FALSE(connector.connect("127.0.0.1", std::to_string(closedPort)));
    EXPECT_EQ(log.count("[ERROR]: Error creating socket for 127.0.0.1:" + std::to_string(closedPort) + "\n"),
              1u);

    zarn_test::RawTcpPeer peer;
    EXPECT_TRUE(connector.connect("127.0.0.1", std::to_string(peer.port())));
    EXPECT_EQ(log.count("[INFO]: Client connected at 127.0.0.1:" + std::to_string(peer.port()) + "\n"), 1u);
    EXPECT_NE(connector.localPort(), 0);
    boost::asio::ip::tcp::no_delay noDelay;
    connector.socket()->get_option(noDelay);
    EXPECT_TRUE(noDelay.value());
}

TEST(TCPConnector, AsynchronousConnectCallsExactlyOneCallback) {
    u16 closedPort;
    {
        zarn_test::RawTcpPeer gone;
        closedPort = gone.port();
    }
    zarn_test::RawTcpPeer open;
    const struct {
        u16 port;
        bool connects;
    } cases[] = {{closedPort, false}, {open.port(), true}};
    for (const auto& c : cases) {
        boost::asio::io_context io;
        Ferro::IoStrand strand(io.get_executor());
        Ferro::TCPConnector connector(strand, 0);
        zarn_test::LogWatch log;
        int connected = 0;
        int failed = 0;
        connector.connectAsync(
            "127.0.0.1", std::to_string(c.port), [&] { ++connected; }, [&] { ++failed; });
        io.run_for(3s);  // the attempt's work ends with its callback
        EXPECT_EQ(connected, c.connects ? 1 : 0);
        EXPECT_EQ(failed, c.connects ? 0 : 1);
        EXPECT_EQ(log.count("[ERROR]: Could not resolve tcp host endpoint\n"), c.connects ? 0u : 1u);
    }
}

TEST(TCPConnector, GivesUpOnAServerThatNeverAnswers) {
    zarn_test::SilentListener silent;
    const u16 port = silent.port();
    boost::asio::io_context io;
    Ferro::IoStrand strand(io.get_executor());
    Ferro::TCPConnector connector(strand, 0);
    connector.connectTimeout = 300ms;
    const auto start = std::chrono::steady_clock::now();
    connector.connect("127.0.0.1", std::to_string(port));  // may or may not get through
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);

    int calls = 0;
    connector.connectAsync(
        "127.0.0.1", std::to_string(port), [&] { ++calls; }, [&] { ++calls; });
    const auto asyncStart = std::chrono::steady_clock::now();
    while (calls == 0 && std::chrono::steady_clock::now() - asyncStart < 3s) io.run_one_for(100ms);
    EXPECT_EQ(calls, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - asyncStart, 2s);
}

namespace {

// A receiver that closes the connection it reads on its first packet, as a
// server does with a client it rejects.
class ClosingReciever : public Convinience::Reciever {
public:
    void receive(const u8*, std::size_t, const std::string&) override {
        ++packets;
        boost::system::error_code ignored;
        socket->close(ignored);
    }
    std::shared_ptr<boost::asio::ip::tcp::socket> socket;
    std::atomic<int> packets{0};
};

}  // namespace

// A connection its owner closed while a packet of it was delivered is not
// read again: no error line, no disconnect, nothing more delivered.
TEST_F(TcpFixture, AConnectionClosedByItsOwnerDuringADeliveryEndsQuietly) {
    connector = std::make_unique<Ferro::TCPConnector>(strand, 0);
    ASSERT_TRUE(connector->connect("127.0.0.1", std::to_string(peer.port())));
    peer.accept();
    ClosingReciever closing;
    closing.socket = connector->socket();
    Ferro::TCPReciever closingReader(strand, closing);
    closingReader.setDisconnectHandler(&disconnects);
    zarn_test::LogWatch log;
    closingReader.addConnection(peer.endpoint(), connector->socket());
    ioThread = std::thread([this] {
        auto work = boost::asio::make_work_guard(io);
        Ferro::runEventLoop(io);
    });
    std::vector<u8> two = serverPacket(3, 1);
    const std::vector<u8> second = serverPacket(4, 2);
    two.insert(two.end(), second.begin(), second.end());
    peer.write(two);
    EXPECT_TRUE(eventually([&] { return closing.packets.load() >= 1; }));
    ASSERT_TRUE(settled());
    EXPECT_EQ(closing.packets.load(), 1) << "a packet after the close was delivered";
    EXPECT_TRUE(disconnects.taken().empty());
    EXPECT_EQ(log.count("[ERROR]"), 0u) << log.text();
}

// A peer that takes nothing while packets are sent to it: its queue stops at
// the limit, the owner is told once, and the connection takes nothing more.
TEST_F(TcpFixture, APeerThatTakesNothingOverflowsItsOwnQueueAndItsOwnerIsTold) {
    std::atomic<int> told{0};
    std::string overflowed;
    Ferro::TCPSender limited(strand, 64 * 1024, [&](const std::string& endpoint) {
        overflowed = endpoint;
        ++told;
    });
    connectAndRun();
    limited.addConnection(peer.endpoint(), connector->socket());
    const std::vector<u8> packet = serverPacket(60000, 5);
    // The kernel's buffers take some; the queue takes 64 KiB more.
    for (int i = 0; i < 400; ++i) limited.send(packet, peer.endpoint());
    EXPECT_TRUE(eventually([&] { return told.load() >= 1; }));
    ASSERT_TRUE(settled());
    EXPECT_EQ(told.load(), 1);
    EXPECT_EQ(overflowed, peer.endpoint());
    limited.removeConnection(peer.endpoint());
    zarn_test::LogWatch log;
    limited.send(packet, peer.endpoint());
    EXPECT_TRUE(eventually([&] { return log.count("No TCP connection to " + peer.endpoint()) == 1; }))
        << "the connection is forgotten";
}
