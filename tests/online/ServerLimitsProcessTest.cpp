// The real server programs against peers that cost them without playing:
// idle connections beyond their descriptors, and connections that come and go
// by the hundred thousand. Each figure is printed for the record.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "online/support/LobbyJoin.h"
#include "online/support/OnlinePlay.h"
#include "online/support/ServerProcess.h"

using namespace std::chrono_literals;
using zarn_test::ServerProcess;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryHeld = true;  // AddressSanitizer's quarantine keeps what was freed
#else
constexpr bool kFreedMemoryHeld = false;
#endif

// A TCP connection from the test, made and held (or dropped) with plain
// system calls: the peers here send nothing.
class RawConnection {
public:
    // Connects to 127.0.0.1:port from 127.0.0.0 + source; false when it
    // fails.
    bool open(u16 port, u32 source = 1) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (fd_ < 0) return false;
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_addr.s_addr = htonl(0x7F000000u | (source & 0xFFFFFFu));
        ::bind(fd_, reinterpret_cast<sockaddr*>(&from), sizeof from);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    }
    // Closes in order (end of stream), or with a reset when `reset`.
    void close(bool reset = false) {
        if (fd_ < 0) return;
        if (reset) {
            linger abort{1, 0};
            ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        }
        ::close(fd_);
        fd_ = -1;
    }
    ~RawConnection() { close(true); }
    RawConnection() = default;
    RawConnection(RawConnection&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    RawConnection(const RawConnection&) = delete;

private:
    int fd_ = -1;
};

// Raises the test's own descriptor limit to its hard limit; answers it.
u64 raiseOwnDescriptorLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    ::getrlimit(RLIMIT_NOFILE, &limit);
    return limit.rlim_cur;
}

// The game's own lobby client and game client, served through both programs:
// a quick join, then the game's instance on the game server with the
// player's own unit in it. How long it took.
std::chrono::milliseconds serveAGoodPlayer(u16 lobbyPort, bool* served) {
    const auto start = std::chrono::steady_clock::now();
    *served = false;
    zarn_test::LobbyPlayer player(lobbyPort);
    if (!player.connected() || !player.quickJoinOnceLinked("good")) return 0ms;
    player.client().startSession();
    *served =
        zarn_test::playUntil({&player.client()}, [&] { return zarn_test::hearsTheServer(player.client()); });
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

std::vector<std::string> limitArguments(const std::string& timeout) {
    return {"--port",
            "0",
            "--address",
            "127.0.0.1",
            "--max-connections",
            "5000",
            "--max-per-address",
            "5000",
            "--idle-timeout",
            timeout};
}

}  // namespace

// 1,100 idle connections to each server, whose descriptors stop at 1,024:
// neither spins on the failing accepts nor floods its log, and a good player
// who comes meanwhile is served once the idle ones have timed out.
TEST(ServerLimitsProcessTest, IdleConnectionsBeyondTheDescriptorsCostNeitherServerAndAGoodPlayerIsServed) {
    constexpr std::size_t kIdle = 1100;
    if (raiseOwnDescriptorLimit() < 2 * kIdle + 200) GTEST_SKIP() << "the test cannot hold 2,400 descriptors";
    std::vector<std::string> gameArguments = limitArguments("3");
    gameArguments.insert(gameArguments.end(), {"--silence-timeout", "10"});
    ServerProcess game({ServerProcess::gameServerProgram(), gameArguments, 1024});
    ASSERT_TRUE(game.started());
    std::vector<std::string> lobbyArguments = limitArguments("3");
    lobbyArguments.insert(lobbyArguments.end(), {"--game", game.endpoint(), "--map", "multi_lv1"});
    ServerProcess lobby({ServerProcess::lobbyProgram(), lobbyArguments, 1024});
    ASSERT_TRUE(lobby.started());
    bool served = false;
    serveAGoodPlayer(lobby.port(), &served);
    ASSERT_TRUE(served) << "a player before the idle ones";

    const auto start = std::chrono::steady_clock::now();
    std::vector<RawConnection> idle;
    for (std::size_t i = 0; i < kIdle; ++i) {
        for (const ServerProcess* server : {&game, &lobby}) {
            idle.emplace_back();
            ASSERT_TRUE(idle.back().open(server->port())) << i;
        }
    }
    // The cost of holding them (and of the accepts that fail meanwhile), once
    // they have been taken, until they time out.
    std::this_thread::sleep_until(start + 500ms);
    const double gameBefore = game.cpuSeconds();
    const double lobbyBefore = lobby.cpuSeconds();
    const auto measured = std::chrono::steady_clock::now();
    std::this_thread::sleep_until(start + 2500ms);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - measured).count();
    const zarn_test::CpuShare gameShare{game.cpuSeconds() - gameBefore, wall};
    const zarn_test::CpuShare lobbyShare{lobby.cpuSeconds() - lobbyBefore, wall};

    const auto waited = serveAGoodPlayer(lobby.port(), &served);
    EXPECT_TRUE(served) << "the good player was not served";
    idle.clear();
    EXPECT_EQ(game.stop(), 0);
    EXPECT_EQ(lobby.stop(), 0);
    std::printf(
        "[ figures ] %zu idle connections each: CPU zarn-server %.2f %%, zarn-lobby %.2f %% over %.1f s; "
        "logs %llu and %llu bytes; a good player served after %lld ms\n",
        kIdle, gameShare.percent(), lobbyShare.percent(), wall,
        static_cast<unsigned long long>(game.logBytes()), static_cast<unsigned long long>(lobby.logBytes()),
        static_cast<long long>(waited.count()));
    if (!kSanitized) {  // a sanitizer's bookkeeping costs more than the servers' own work
        EXPECT_LT(gameShare.percent(), 5.0);
        EXPECT_LT(lobbyShare.percent(), 5.0);
    }
    EXPECT_LT(game.logBytes(), 1024u * 1024u);
    EXPECT_LT(lobby.logBytes(), 1024u * 1024u);
    EXPECT_NE(game.logText().find("Accepting a connection failed"), std::string::npos)
        << "the game server never ran out of descriptors";
}

// Connections that come and go leave nothing behind: after 100,000 of them
// each server's resident memory is within 2 MB of where it was.
TEST(ServerLimitsProcessTest, AHundredThousandConnectionsThatComeAndGoLeaveTheMemoryWhereItWas) {
    constexpr int kThreads = 2;
    constexpr int kCycles = 100000;
    constexpr int kWarmUp = 4000;
    ServerProcess game({ServerProcess::gameServerProgram(), {"--port", "0", "--address", "127.0.0.1"}});
    ServerProcess lobby({ServerProcess::lobbyProgram(),
                         {"--port", "0", "--address", "127.0.0.1", "--game", game.endpoint()}});
    ASSERT_TRUE(game.started() && lobby.started());
    // Loopback addresses of this run's own: no client port is still held
    // (in TIME_WAIT) from an earlier run or from the other server.
    u32 sources = (std::random_device{}() & 0xFFFF) << 8;
    for (ServerProcess* server : {&game, &lobby}) {
        const u32 firstSource = sources + 1;
        sources += kThreads;
        std::atomic<int> failed{0};
        const auto churn = [&](int cycles) {
            std::vector<std::thread> threads;
            for (int t = 0; t < kThreads; ++t) {
                threads.emplace_back([&, t] {
                    for (int i = t; i < cycles; i += kThreads) {
                        RawConnection connection;
                        if (!connection.open(server->port(), firstSource + t)) ++failed;
                        // Most end with a reset, some in order.
                        connection.close(i % 8 != 0);
                    }
                });
            }
            for (auto& thread : threads) thread.join();
        };
        churn(kWarmUp);
        std::this_thread::sleep_for(300ms);
        const u64 before = server->residentKiB();
        const auto start = std::chrono::steady_clock::now();
        churn(kCycles);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // What the server still has to read of the last ones.
        std::this_thread::sleep_for(500ms);
        const u64 after = server->residentKiB();
        std::printf(
            "[ figures ] %s: %d connections came and went in %.1f s; resident %llu KiB before, %llu "
            "KiB after; CPU %.1f s in all\n",
            server == &game ? "zarn-server" : "zarn-lobby", kCycles, seconds,
            static_cast<unsigned long long>(before), static_cast<unsigned long long>(after),
            server->cpuSeconds());
        EXPECT_EQ(failed.load(), 0);
        if (!kFreedMemoryHeld)
            EXPECT_LE(after, before + 2048) << (server == &game ? "zarn-server" : "zarn-lobby");
    }
    EXPECT_EQ(game.stop(), 0);
    EXPECT_EQ(lobby.stop(), 0);
}
