#include <gtest/gtest.h>

#include <boost/asio/executor_work_guard.hpp>
#include <chrono>
#include <mutex>
#include <thread>

#include "net/Endpoint.h"
#include "net/UDPChannel.h"
#include "support/net/LogWatch.h"

using namespace std::chrono_literals;
using boost::asio::ip::udp;

namespace {

const auto kLoopback = boost::asio::ip::address_v4::loopback();

class RecordingReciever : public Convinience::Reciever {
public:
    struct Got {
        std::vector<u8> bytes;
        std::string endpoint;
    };
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override {
        std::lock_guard lock(mutex_);
        got_.push_back({std::vector<u8>(bytes, bytes + size), endpoint});
    }
    std::vector<Got> taken() {
        std::lock_guard lock(mutex_);
        return got_;
    }

private:
    std::mutex mutex_;
    std::vector<Got> got_;
};

struct UdpFixture : ::testing::Test {
    UdpFixture() {
        reader.startReceiving();
        ioThread = std::thread([this] {
            auto work = boost::asio::make_work_guard(io);
            Ferro::runEventLoop(io);
        });
    }
    ~UdpFixture() override {
        io.stop();
        ioThread.join();
    }

    std::vector<RecordingReciever::Got> waitFor(std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (recorder.taken().size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        return recorder.taken();
    }

    boost::asio::io_context io;
    Ferro::IoStrand strand{io.get_executor()};
    std::shared_ptr<udp::socket> socket = std::make_shared<udp::socket>(strand, udp::endpoint(kLoopback, 0));
    RecordingReciever recorder;
    Ferro::UDPReciever reader{strand, socket, recorder};
    Ferro::TCPUDPSender channels{strand, socket};
    std::thread ioThread;
};

}  // namespace

TEST_F(UdpFixture, ADatagramArrivesWithItsDottedSourceEndpoint) {
    boost::asio::io_context peerIo;
    udp::socket peer(peerIo, udp::endpoint(kLoopback, 0));
    const std::vector<u8> bytes{1, 2, 3, 4, 5};
    peer.send_to(boost::asio::buffer(bytes), socket->local_endpoint());
    const auto got = waitFor(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].bytes, bytes);
    EXPECT_EQ(got[0].endpoint, "127.0.0.1:" + std::to_string(peer.local_endpoint().port()));
}

TEST_F(UdpFixture, EmptyAndOversizedDatagramsDoNotEndTheReceiveLoop) {
    boost::asio::io_context peerIo;
    udp::socket peer(peerIo, udp::endpoint(kLoopback, 0));
    peer.send_to(boost::asio::buffer(std::vector<u8>{}), socket->local_endpoint());
    peer.send_to(boost::asio::buffer(std::vector<u8>(5000, 7)), socket->local_endpoint());
    peer.send_to(boost::asio::buffer(std::vector<u8>{9}), socket->local_endpoint());
    const auto got = waitFor(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].bytes.size(), Ferro::UDPReciever::kDatagramSize);  // cut by the buffer
    EXPECT_EQ(got[1].bytes, std::vector<u8>{9});
}

TEST_F(UdpFixture, SendsOneDatagramOfExactlyTheBytesToTheEndpoint) {
    boost::asio::io_context peerIo;
    udp::socket peer(peerIo, udp::endpoint(kLoopback, 0));
    const std::string to = Ferro::endpointString(peer.local_endpoint());
    const std::vector<u8> bytes(1200, 0x42);
    channels.send(bytes, to);
    std::vector<u8> received(4096);
    udp::endpoint from;
    const std::size_t n = peer.receive_from(boost::asio::buffer(received), from);
    EXPECT_EQ(n, bytes.size());
    EXPECT_EQ(std::vector<u8>(received.begin(), received.begin() + n), bytes);
    EXPECT_EQ(from.port(), socket->local_endpoint().port());
}

// No datagram larger than a receiver takes whole ever leaves: the send is
// refused with a log line, and the next one goes.
TEST_F(UdpFixture, ADatagramAboveTheLimitIsRefusedWithALogLine) {
    boost::asio::io_context peerIo;
    udp::socket peer(peerIo, udp::endpoint(kLoopback, 0));
    const std::string to = Ferro::endpointString(peer.local_endpoint());
    zarn_test::LogWatch log;
    Ferro::UDPSender& udp = channels.udp();
    for (int i = 0; i < 3; ++i) udp.send(std::vector<u8>(Ferro::UDPSender::kMaxDatagramSize + 1, 1), to);
    channels.send(std::vector<u8>(Ferro::UDPSender::kMaxDatagramSize, 2), to);
    std::vector<u8> received(8192);
    udp::endpoint from;
    EXPECT_EQ(peer.receive_from(boost::asio::buffer(received), from), Ferro::UDPSender::kMaxDatagramSize);
    EXPECT_EQ(received[0], 2) << "the refused ones were sent";
    EXPECT_EQ(udp.refusedOversize(), 3u);
    EXPECT_EQ(log.count("Refused to send a datagram of 4097 bytes to " + to), 1u) << "one line a second";
}

TEST_F(UdpFixture, AMalformedEndpointIsLoggedNotThrown) {
    zarn_test::LogWatch log;
    for (const char* bad : {"no colon", "localhost:4000", "127.0.0.1:0"}) {
        EXPECT_NO_THROW(channels.send({1}, bad));
        EXPECT_EQ(log.count(std::string("[ERROR]: Invalid endpoint string ") + bad + ", datagram dropped"),
                  1u);
    }
}

TEST(UDPChannel, RefusesToBeBuiltWithoutASocket) {
    boost::asio::io_context io;
    Ferro::IoStrand strand(io.get_executor());
    RecordingReciever recorder;
    EXPECT_THROW(Ferro::UDPSender(strand, nullptr), Ferro::InvalidUDPSenderConstruction);
    EXPECT_THROW(Ferro::UDPReciever(strand, nullptr, recorder), Ferro::InvalidUDPRecieverConstruction);
}
