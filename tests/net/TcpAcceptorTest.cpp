#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <array>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "net/TcpAcceptor.h"
#include "support/net/Waiting.h"

using boost::asio::ip::tcp;
using namespace std::chrono_literals;

namespace {

// An acceptor with small limits on its own I/O thread; the connections it
// hands on are kept until the test releases them.
struct AcceptorFixture : ::testing::Test {
    AcceptorFixture() {
        acceptor.start([this](Ferro::AcceptedConnection connection) {
            std::lock_guard lock(mutex);
            accepted.push_back(std::move(connection));
        });
        ioThread = std::thread([this] {
            auto work = boost::asio::make_work_guard(io);
            Ferro::runEventLoop(io);
        });
    }
    ~AcceptorFixture() override {
        io.stop();
        ioThread.join();
    }

    // A connection from 127.0.0.<source>.
    std::unique_ptr<tcp::socket> connectFrom(int source) {
        auto socket = std::make_unique<tcp::socket>(clientIo);
        socket->open(tcp::v4());
        socket->bind({boost::asio::ip::make_address_v4("127.0.0." + std::to_string(source)), 0});
        socket->connect({boost::asio::ip::address_v4::loopback(), acceptor.port()});
        const timeval limit{5, 0};
        ::setsockopt(socket->native_handle(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        return socket;
    }
    // Whether the server closed the connection (its read ends).
    static bool closedByServer(tcp::socket& socket) {
        std::array<u8, 1> byte{};
        boost::system::error_code error;
        socket.read_some(boost::asio::buffer(byte), error);
        return error == boost::asio::error::eof || error == boost::asio::error::connection_reset;
    }
    std::size_t acceptedCount() {
        std::lock_guard lock(mutex);
        return accepted.size();
    }
    template <class F>
    auto onStrand(F work) {
        std::packaged_task<decltype(work())()> task(std::move(work));
        auto result = task.get_future();
        boost::asio::post(strand, [&task] { task(); });
        return result.get();
    }

    boost::asio::io_context io;
    Ferro::IoStrand strand{io.get_executor()};
    Ferro::TcpAcceptor acceptor{strand, tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0),
                                Ferro::TcpAcceptor::Limits{2, 1}};
    std::thread ioThread;
    std::mutex mutex;
    std::vector<Ferro::AcceptedConnection> accepted;
    boost::asio::io_context clientIo;
};

}  // namespace

TEST_F(AcceptorFixture, ConnectionsBeyondTheCapsAreRefusedAtAcceptAndAReleaseMakesRoom) {
    auto first = connectFrom(1);
    ASSERT_TRUE(zarn_test::eventually([&] { return acceptedCount() == 1; }));
    auto sameAddress = connectFrom(1);
    EXPECT_TRUE(closedByServer(*sameAddress)) << "a second one from one address";
    auto second = connectFrom(2);
    ASSERT_TRUE(zarn_test::eventually([&] { return acceptedCount() == 2; }));
    auto third = connectFrom(3);
    EXPECT_TRUE(closedByServer(*third)) << "a third one in all";
    EXPECT_EQ(onStrand([&] { return acceptor.refused(); }), 2u);
    EXPECT_EQ(onStrand([&] { return acceptor.open(); }), 2u);

    // The first one ends: its place and its address's place come free.
    const std::string firstName = [&] {
        std::lock_guard lock(mutex);
        return accepted[0].name;
    }();
    onStrand([&] {
        acceptor.release(firstName);
        acceptor.release(firstName);  // a second release changes nothing
        return 0;
    });
    EXPECT_EQ(onStrand([&] { return acceptor.open(); }), 1u);
    auto again = connectFrom(1);
    EXPECT_TRUE(zarn_test::eventually([&] { return acceptedCount() == 3; }));
    EXPECT_EQ(onStrand([&] { return acceptor.refused(); }), 2u);
}

TEST(TcpAcceptor, TheAddressOfAnEndpointString) {
    EXPECT_EQ(Ferro::TcpAcceptor::addressOf("10.0.0.2:4000"), "10.0.0.2");
    EXPECT_EQ(Ferro::TcpAcceptor::addressOf("127.0.0.1:1"), "127.0.0.1");
    EXPECT_EQ(Ferro::TcpAcceptor::addressOf("no port"), "no port");
}
