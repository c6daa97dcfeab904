// Loopback figures of the transport, each next to a bare Boost.Asio program
// that moves the same bytes, so that the ratio shows what the processors cost:
//  - unreliable packets per second: sender processor -> UDP -> receiver
//    processor, in windows of 64 packets, against the same datagrams sent
//    from one bare socket and received by another;
//  - the round trip of a reliable packet over TCP: client -> server ->
//    client through both nodes' processors, against a bare TCP echo.
#include <benchmark/benchmark.h>

#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <filesystem>
#include <thread>

#include "foundation/Logger.h"
#include "net/Endpoint.h"
#include "support/TestEnvironment.h"
#include "support/net/TransportNode.h"

using namespace std::chrono_literals;
using boost::asio::ip::tcp;
using boost::asio::ip::udp;
using zarn_test::TransportNode;

namespace {

constexpr u32 kClient = 2;
constexpr u32 kServer = 9;
constexpr std::size_t kPayload = 32;
constexpr std::size_t kWindow = 64;
const auto kLoopback = boost::asio::ip::address_v4::loopback();

struct Pair {
    Pair() {
        server.endpoints.assign(kClient, client.endpoint());
        client.endpoints.assign(kServer, server.endpoint());
        server.start();
        if (!client.connectTo(server.port())) throw std::runtime_error("no connection");
        client.start();
    }
    TransportNode server{TransportNode::Role::Server};
    TransportNode client{TransportNode::Role::Client};
};

// Pops from a ring until `count` records came or a second passed; returns how
// many came.
std::size_t take(Corvel::MessageQueue& ring, std::size_t count, Corvel::QueuedMessage* last = nullptr) {
    std::size_t got = 0;
    const auto deadline = std::chrono::steady_clock::now() + 1s;
    Corvel::QueuedMessage message;
    while (got < count) {
        if (ring.pop(message)) {
            ++got;
            if (last) *last = std::move(message);
        } else if (std::chrono::steady_clock::now() > deadline) {
            break;
        }
    }
    return got;
}

void BM_UnreliablePacketsThroughTheTransport(benchmark::State& state) {
    Pair pair;
    std::size_t lost = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kWindow; ++i) {
            pair.client.outgoing.push(
                zarn_test::makeMessage(kClient, kServer, false, std::vector<u8>(kPayload, 1)));
        }
        pair.client.sender->wake();
        lost += kWindow - take(pair.server.incoming, kWindow);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kWindow));
    state.counters["lost"] = static_cast<double>(lost);
}
BENCHMARK(BM_UnreliablePacketsThroughTheTransport)->UseRealTime();

void BM_UnreliablePacketsBareAsio(benchmark::State& state) {
    boost::asio::io_context io;
    udp::socket receiver(io, udp::endpoint(kLoopback, 0));
    receiver.set_option(
        boost::asio::socket_base::receive_buffer_size(4 * 1024 * 1024));  // as the nodes' sockets
    udp::socket sender(io, udp::endpoint(kLoopback, 0));
    std::vector<u8> buffer(4096);
    udp::endpoint source;
    std::atomic<std::size_t> received{0};
    std::function<void()> receive = [&] {
        receiver.async_receive_from(boost::asio::buffer(buffer), source,
                                    [&](const boost::system::error_code& error, std::size_t) {
                                        if (error == boost::asio::error::operation_aborted) return;
                                        received.fetch_add(1, std::memory_order_release);
                                        receive();
                                    });
    };
    receive();
    std::thread loop([&] {
        auto work = boost::asio::make_work_guard(io);
        io.run();
    });
    const std::vector<u8> datagram(33 + kPayload, 1);
    std::size_t expected = 0;
    std::size_t lost = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kWindow; ++i)
            sender.send_to(boost::asio::buffer(datagram), receiver.local_endpoint());
        expected += kWindow;
        const auto deadline = std::chrono::steady_clock::now() + 1s;
        while (received.load(std::memory_order_acquire) < expected &&
               std::chrono::steady_clock::now() < deadline) {
        }
        lost += expected - received.load();
        expected = received.load();
    }
    io.stop();
    loop.join();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kWindow));
    state.counters["lost"] = static_cast<double>(lost);
}
BENCHMARK(BM_UnreliablePacketsBareAsio)->UseRealTime();

void BM_ReliableRoundTripThroughTheTransport(benchmark::State& state) {
    Pair pair;
    Corvel::QueuedMessage echoed;
    for (auto _ : state) {
        pair.client.send(zarn_test::makeMessage(kClient, kServer, true, std::vector<u8>(kPayload, 2)));
        Corvel::QueuedMessage atServer;
        if (take(pair.server.incoming, 1, &atServer) != 1) {
            state.SkipWithError("lost on the way to the server");
            break;
        }
        pair.server.send(zarn_test::makeMessage(kServer, kClient, true, std::move(atServer.bytes)));
        if (take(pair.client.incoming, 1, &echoed) != 1) {
            state.SkipWithError("lost on the way back");
            break;
        }
    }
}
BENCHMARK(BM_ReliableRoundTripThroughTheTransport)->UseRealTime();

void BM_ReliableRoundTripBareAsio(benchmark::State& state) {
    boost::asio::io_context io;
    tcp::acceptor acceptor(io, tcp::endpoint(kLoopback, 0));
    tcp::socket client(io);
    client.connect(acceptor.local_endpoint());
    tcp::socket server = acceptor.accept();
    std::vector<u8> echoBuffer(33 + kPayload);
    std::function<void()> echo = [&] {
        boost::asio::async_read(server, boost::asio::buffer(echoBuffer),
                                [&](const boost::system::error_code& error, std::size_t) {
                                    if (error) return;
                                    boost::asio::async_write(
                                        server, boost::asio::buffer(echoBuffer),
                                        [&](const boost::system::error_code& e, std::size_t) {
                                            if (!e) echo();
                                        });
                                });
    };
    echo();
    std::thread loop([&] {
        auto work = boost::asio::make_work_guard(io);
        io.run();
    });
    const std::vector<u8> packet(33 + kPayload, 2);
    std::vector<u8> reply(packet.size());
    for (auto _ : state) {
        boost::asio::write(client, boost::asio::buffer(packet));
        boost::asio::read(client, boost::asio::buffer(reply));
    }
    io.stop();
    loop.join();
}
BENCHMARK(BM_ReliableRoundTripBareAsio)->UseRealTime();

}  // namespace

// The transport logs its connections; the log goes to a temporary folder, as
// in the tests.
int main(int argc, char** argv) {
    Convinience::Logger::initialize();
    Convinience::Logger::addFileSink(zarn_test::tempDir() + "/server");
    Convinience::Logger::installSeverityFilter();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Convinience::Logger::resetForTests();
    std::error_code ignored;
    std::filesystem::remove_all(zarn_test::tempDir(), ignored);
    return 0;
}
