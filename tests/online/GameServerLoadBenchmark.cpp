// One zarn-server process, on one CPU, hosting many 4-player games of the
// busiest co-op room, each player a simulated client on loopback: it sends a
// state update every 30 ms (a move order once a second) over UDP and takes
// the server's reply. A tick is on time when the reply to its update comes
// back before the next update leaves. Reported per number of games: the share
// of ticks on time, the server's CPU (of its one core) and per game tick, and
// the bytes per second per client each way.
//
//   build/tests/online/GameServerLoadBenchmark [--benchmark_filter=...]
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/CommandHeader.h"
#include "net/Packet.h"
#include "online/support/ServerProcess.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/state/GameState.h"
#include "support/online/LobbyStandIn.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kTick = 30ms;
constexpr u32 kMapHash = 1;  // multi_lv2, the busiest co-op room
constexpr int kServerCpu = 1;
constexpr int kDriverThreads = 3;
constexpr u32 kGameServerID = Zarn::GameServerHost::kServerId;

std::vector<u8> packet(u32 sender, bool reliable, const Corvel::CommandHeader& command,
                       const Convinience::Serializable* body) {
    Convinience::Buffer payload(64);
    command.serialize(payload);
    if (body != nullptr) body->serialize(payload);
    Ferro::Packet1337 p;
    p.header.applicationId = Ferro::kApplicationId;
    p.header.senderClientId = sender;
    p.header.destinationClientId = kGameServerID;
    p.header.reliable = reliable ? 1 : 0;
    p.payload = payload.takeBytes();
    p.header.payloadLength = static_cast<u32>(p.payload.size());
    return p.bytes();
}

// One player: a TCP connection for its announce and the server's reliable
// commands, a UDP socket (on a port of its own) for its updates and the
// server's syncs.
struct SimulatedClient {
    u32 id = 0;
    int tcp = -1;
    int udp = -1;
    u32 number = 0;
    u32 lastTick = 0;
    u32 inputTick = 0;
    u32 awaiting = 0;  // the number of the update not yet answered, 0 when none
    Clock::time_point sentAt;
    std::mt19937 random;

    // Counted inside the measured window only.
    u64 sent = 0;
    u64 onTime = 0;
    u64 bytesIn = 0;
    u64 bytesOut = 0;

    ~SimulatedClient() {
        if (tcp >= 0) ::close(tcp);
        if (udp >= 0) ::close(udp);
    }
};

sockaddr_in loopback(u16 port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return to;
}

bool join(SimulatedClient& client, u16 serverPort) {
    client.tcp = ::socket(AF_INET, SOCK_STREAM, 0);
    client.udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    const sockaddr_in server = loopback(serverPort);
    sockaddr_in any = loopback(0);
    ::bind(client.udp, reinterpret_cast<sockaddr*>(&any), sizeof any);
    ::connect(client.udp, reinterpret_cast<const sockaddr*>(&server), sizeof server);
    if (::connect(client.tcp, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) return false;
    const int one = 1;
    ::setsockopt(client.tcp, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const auto announce =
        packet(client.id, true, Corvel::CommandHeader(client.id, Zarn::ServerCommandId::gameInstanceUpdate),
               nullptr);
    if (::send(client.tcp, announce.data(), announce.size(), 0) != static_cast<ssize_t>(announce.size()))
        return false;
    ::fcntl(client.tcp, F_SETFL, ::fcntl(client.tcp, F_GETFL) | O_NONBLOCK);
    client.number = 1;
    return true;
}

// A state update (and once a second a move order to a point of the room),
// as the game's client sends one each tick.
void sendUpdate(SimulatedClient& client, bool counted) {
    Zarn::GameState state;
    state.tick = client.lastTick;
    u32 command = Zarn::ServerCommandId::stateUpdate;
    if (client.number % 33 == 0) {
        command = Zarn::ServerCommandId::input;
        std::uniform_real_distribution<float> along(48.0f, 560.0f);
        state.inputStates.emplace_back(
            client.id, ++client.inputTick,
            std::vector<Zarn::InputData>{
                Zarn::InputData(1, GeometryLib::FPoint(along(client.random), along(client.random)))});
    }
    Corvel::CommandHeader header(client.id, command, 0, false);
    header.commandNumber = client.number++;
    const auto bytes = packet(client.id, false, header, &state);
    if (::send(client.udp, bytes.data(), bytes.size(), 0) < 0) return;
    client.awaiting = header.commandNumber;
    client.sentAt = Clock::now();
    if (counted) {
        ++client.sent;
        client.bytesOut += bytes.size();
    }
}

// Everything that waits on the client's sockets.
void receive(SimulatedClient& client, bool counted) {
    static thread_local std::vector<u8> buffer(65536);
    for (;;) {
        const ssize_t n = ::recv(client.udp, buffer.data(), buffer.size(), 0);
        if (n <= 0) break;
        if (counted) client.bytesIn += static_cast<u64>(n);
        constexpr std::size_t kHeaders = Ferro::Packet1337Header::kSize + Corvel::CommandHeader::kSize;
        if (static_cast<std::size_t>(n) < kHeaders + 4) continue;
        u32 commandId = 0, replyTo = 0, tick = 0;
        std::memcpy(&commandId, buffer.data() + Ferro::Packet1337Header::kSize + 4, 4);
        std::memcpy(&replyTo, buffer.data() + Ferro::Packet1337Header::kSize + 12, 4);
        std::memcpy(&tick, buffer.data() + kHeaders, 4);
        if (commandId != Zarn::ClientCommandId::stateSyncReply) continue;
        if (tick > client.lastTick) client.lastTick = tick;
        if (replyTo == client.awaiting && client.awaiting != 0) {
            if (counted && Clock::now() - client.sentAt <= kTick) ++client.onTime;
            client.awaiting = 0;
        }
    }
    for (;;) {
        const ssize_t n = ::recv(client.tcp, buffer.data(), buffer.size(), 0);
        if (n <= 0) break;
        if (counted) client.bytesIn += static_cast<u64>(n);
    }
}

// Runs a share of the clients tick by tick until `end`; counts from
// `measureFrom` on.
void drive(std::vector<SimulatedClient*> clients, Clock::time_point start, Clock::time_point measureFrom,
           Clock::time_point end) {
    const int poller = ::epoll_create1(0);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        epoll_event wanted{};
        wanted.events = EPOLLIN;
        wanted.data.u64 = i;
        ::epoll_ctl(poller, EPOLL_CTL_ADD, clients[i]->udp, &wanted);
        wanted.data.u64 = i;
        ::epoll_ctl(poller, EPOLL_CTL_ADD, clients[i]->tcp, &wanted);
    }
    std::vector<epoll_event> ready(256);
    for (auto tick = start; tick < end; tick += kTick) {
        const bool counted = tick >= measureFrom;
        for (SimulatedClient* client : clients) sendUpdate(*client, counted);
        for (;;) {
            const auto now = Clock::now();
            if (now >= tick + kTick) break;
            const int wait =
                static_cast<int>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(tick + kTick - now).count()) +
                1;
            const int n = ::epoll_wait(poller, ready.data(), static_cast<int>(ready.size()), wait);
            for (int i = 0; i < n; ++i) receive(*clients[ready[i].data.u64], counted);
        }
    }
    ::close(poller);
}

void GamesOnOneCore(benchmark::State& state) {
    const int games = static_cast<int>(state.range(0));
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur < static_cast<rlim_t>(games) * 8 + 100) {
        state.SkipWithError("not enough descriptors");
        return;
    }
    const int cpus = static_cast<int>(std::thread::hardware_concurrency());
    zarn_test::ServerProcess server({zarn_test::ServerProcess::gameServerProgram(),
                                     {"--port", "0", "--address", "127.0.0.1", "--max-connections", "20000",
                                      "--max-per-address", "20000"},
                                     0,
                                     cpus > 1 ? kServerCpu : -1});
    if (!server.started()) {
        state.SkipWithError("zarn-server did not start");
        return;
    }
    zarn_test::LobbyStandIn lobby(server.port());
    std::vector<std::unique_ptr<SimulatedClient>> clients;
    for (int game = 0; game < games; ++game) {
        ZarnOnline::InstanceTerms terms;
        terms.instanceID = static_cast<u32>(game + 1);
        terms.mapHash = kMapHash;
        terms.endpoint = server.endpoint();
        for (u8 seat = 0; seat < 4; ++seat) {
            auto client = std::make_unique<SimulatedClient>();
            client->id = 10 + static_cast<u32>(clients.size());
            client->random.seed(client->id);
            if (!lobby.grant(terms, Zarn::PlayerInfo(client->id, seat, "rat")) ||
                !join(*client, server.port())) {
                state.SkipWithError("a player could not join");
                return;
            }
            clients.push_back(std::move(client));
        }
    }
    for (auto _ : state) {
        const auto start = Clock::now() + 100ms;
        const auto measureFrom = start + 2s;
        const auto end = measureFrom + 5s;
        std::vector<std::thread> drivers;
        for (int t = 0; t < kDriverThreads; ++t) {
            std::vector<SimulatedClient*> share;
            for (std::size_t i = t; i < clients.size(); i += kDriverThreads)
                share.push_back(clients[i].get());
            drivers.emplace_back(drive, share, start, measureFrom, end);
        }
        std::this_thread::sleep_until(measureFrom);
        const double cpuBefore = server.cpuSeconds();
        std::this_thread::sleep_until(end);
        const double cpu = server.cpuSeconds() - cpuBefore;
        for (auto& driver : drivers) driver.join();
        const double seconds = std::chrono::duration<double>(end - measureFrom).count();
        u64 sent = 0, onTime = 0, bytesIn = 0, bytesOut = 0;
        for (const auto& client : clients) {
            sent += client->sent;
            onTime += client->onTime;
            bytesIn += client->bytesIn;
            bytesOut += client->bytesOut;
        }
        const double ticks = static_cast<double>(sent) / 4.0;  // one update per player per game tick
        state.counters["on_time_%"] =
            sent == 0 ? 0.0 : 100.0 * static_cast<double>(onTime) / static_cast<double>(sent);
        state.counters["server_cpu_%"] = 100.0 * cpu / seconds;
        state.counters["us_cpu_per_game_tick"] = ticks == 0 ? 0.0 : 1e6 * cpu / ticks;
        state.counters["bytes/s_in_per_client"] =
            static_cast<double>(bytesIn) / seconds / static_cast<double>(clients.size());
        state.counters["bytes/s_out_per_client"] =
            static_cast<double>(bytesOut) / seconds / static_cast<double>(clients.size());
        state.counters["resident_MiB"] = static_cast<double>(server.residentKiB()) / 1024.0;
    }
}

BENCHMARK(GamesOnOneCore)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Arg(300)
    ->Arg(400)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
