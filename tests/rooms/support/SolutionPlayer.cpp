#include "rooms/support/SolutionPlayer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <thread>

#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/server/ZarnServer.h"
#include "world/units/SteerableUnit.h"

namespace zarn_test {

using GeometryLib::FPoint;
using Zarn::SolutionStep;

namespace {

constexpr float kTick = 0.03f;
// Real time a server gets to answer one tick before the run counts as stalled.
constexpr auto kAnswerTimeout = std::chrono::seconds(20);

// The unit of one client as the newest received state shows it.
struct Seen {
    u32 tick = 0;
    FPoint position;
    u32 state = 0;
};

bool readNewest(Zarn::ClientGameCore& core, u32 clientId, Seen& seen) {
    const auto& states = core.stateBuffer().states();
    if (states.empty()) return false;
    const Zarn::GameState& newest = states.rbegin()->second;
    const Zarn::ClientState* unit = newest.findClient(clientId);
    if (unit == nullptr) return false;
    seen.tick = newest.tick;
    seen.position = unit->position;
    seen.state = unit->mainState;
    return true;
}

// ZARN_ROOM_TRACE=2: the logs also sample the rats' positions every 0.15 s.
bool sampling() {
    const char* v = std::getenv("ZARN_ROOM_TRACE");
    return v != nullptr && v[0] == '2';
}

void record(PlayerRun& run, const Seen& before, const Seen& now, std::size_t player) {
    run.lastPosition = now.position;
    if (sampling() && now.tick % 5 == 0) {
        char text[128];
        std::snprintf(text, sizeof text, "%s   player %zu at (%.1f, %.1f) cell (%d, %d) state %u",
                      timeOfTick(now.tick).c_str(), player, now.position.x, now.position.y,
                      static_cast<int>(now.position.x / 64), static_cast<int>(now.position.y / 64),
                      now.state);
        run.log.emplace_back(text);
    }
    if (Zarn::isDeathState(now.state) && !Zarn::isDeathState(before.state)) {
        ++run.deaths;
        char text[128];
        std::snprintf(text, sizeof text, "%s player %zu died (state %u) at (%.0f, %.0f)",
                      timeOfTick(now.tick).c_str(), player, now.state, now.position.x, now.position.y);
        run.log.emplace_back(text);
    }
    if (now.state == Zarn::UnitState::carried && !run.exited) {
        run.exited = true;
        run.exitTick = now.tick;
        run.log.push_back(timeOfTick(now.tick) + " player " + std::to_string(player) + " left the level");
    }
}

template <class Ready>
bool waitUntil(Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

}  // namespace

bool PlayResult::everyoneExited() const {
    for (const PlayerRun& p : players)
        if (!p.exited) return false;
    return !players.empty();
}

u32 PlayResult::totalDeaths() const {
    u32 deaths = 0;
    for (const PlayerRun& p : players) deaths += p.deaths;
    return deaths;
}

u32 PlayResult::exitMilliseconds() const {
    u32 last = 0;
    for (const PlayerRun& p : players) last = std::max(last, p.exitTick);
    return last * 30;
}

std::string PlayResult::report() const {
    std::ostringstream out;
    out << "ran " << ticks << " ticks" << (stalled ? ", then the server stopped answering" : "") << "\n";
    for (std::size_t i = 0; i < players.size(); ++i) {
        out << "player " << i << ": " << players[i].deaths << " deaths, "
            << (players[i].exited ? "left at " + timeOfTick(players[i].exitTick)
                                  : std::string("did not leave"))
            << "\n";
        std::vector<std::string> lines = players[i].log;
        std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
            return std::atof(a.c_str() + 2) < std::atof(b.c_str() + 2);
        });
        for (const std::string& line : lines) out << "  " << line << "\n";
    }
    return out.str();
}

PlayResult playAlone(const std::vector<u8>& mapBytes, const Zarn::Solution& solution, u32 tickLimit,
                     const std::function<void(Zarn::SinglePlayerZarn&)>& atEnd) {
    Convinience::ManualTickClock clock;
    Zarn::SinglePlayerZarn client(clock);
    std::istringstream in(std::string(mapBytes.begin(), mapBytes.end()));
    client.loadMap(in);
    StepRunner runner(solution.players.at(0), client.getGameMap().grid.getCellSize());
    Zarn::SteerableUnit& unit = client.getSteerableUnitManager().getUnit(0);
    Seen seen{0, unit.body().position, 0};
    PlayResult result;
    result.players.resize(1);
    PlayerRun& run = result.players.front();
    for (u32 frame = 0; frame < tickLimit && !run.exited; ++frame) {
        if (auto input = runner.next(seen.tick, seen.position, seen.state)) {
            client.getInputManager().pushInput(0, *input);
            client.setNextLocalCommand(2);
        }
        // The first tick's record is queued before the server thread starts,
        // so that the server's first step is the one that record confirms.
        client.update(kTick);
        if (frame == 0) client.startServer();
        Seen now;
        const bool answered = waitUntil([&] {
            client.update(0.0f);
            return readNewest(client.getCore(), 0, now) && now.tick >= frame + 1;
        });
        if (!answered) {
            result.stalled = true;
            break;
        }
        record(run, seen, now, 0);
        seen = now;
        result.ticks = now.tick;
    }
    client.stopServer();
    for (const std::string& line : runner.log()) run.log.push_back(line);
    if (atEnd) atEnd(client);
    return result;
}

namespace {

// One client of a shared game: its rings, its inputs and its game core.
struct Peer {
    explicit Peer(u32 id) : id(id) {}
    u32 id;
    Corvel::MessageQueue incoming{Zarn::SinglePlayerZarn::kRingSlots};
    Corvel::MessageQueue outgoing{Zarn::SinglePlayerZarn::kRingSlots};
    Zarn::InputManager inputs;
    Zarn::ClientGameCore core{incoming, outgoing};
};

// Moves every record from one ring to others; the main thread is the only
// producer of the server's incoming ring and of the clients' incoming rings.
void forwardTo(Corvel::MessageQueue& from, const std::function<Corvel::MessageQueue&(u32)>& to) {
    Corvel::QueuedMessage message;
    while (from.pop(message)) {
        if (!to(message.toClientId).push(std::move(message))) throw std::runtime_error("a ring is full");
    }
}

// The server's thread, stopped and joined however the run ends.
struct ServerThread {
    explicit ServerThread(Zarn::ZarnServer& server) : server(server) {}
    ~ServerThread() {
        server.stop();
        if (thread.joinable()) thread.join();
    }
    void start() {
        thread = std::thread([this] { server.run(); });
    }

    Zarn::ZarnServer& server;
    std::thread thread;
};

}  // namespace

PlayResult playTogether(const std::vector<u8>& mapBytes, const Zarn::Solution& solution, u32 tickLimit) {
    const std::size_t count = solution.players.size();
    Convinience::ManualTickClock clock;
    Corvel::MessageQueue serverIncoming{Zarn::SinglePlayerZarn::kRingSlots};
    Corvel::MessageQueue serverOutgoing{Zarn::SinglePlayerZarn::kRingSlots};
    Zarn::ZarnServer server(serverIncoming, serverOutgoing, clock);
    std::vector<std::unique_ptr<Peer>> peers;
    Zarn::GameInstance instance;
    for (u32 id = 0; id < count; ++id) {
        peers.push_back(std::make_unique<Peer>(id));
        instance.players.insert(id);
    }
    const std::string bytes(mapBytes.begin(), mapBytes.end());
    for (auto& peer : peers) {
        peer->core.setTickDelta(kTick);
        peer->core.setInputManager(&peer->inputs);
        peer->core.setLocalClientID(peer->id);
        for (u32 id = 0; id < count; ++id) peer->core.addPlayer(id);
        std::istringstream in(bytes);
        peer->core.loadMap(in);
    }
    server.setTickDelta(kTick);
    std::istringstream in(bytes);
    server.loadMap(in);
    for (u32 id = 0; id < count; ++id) server.addClient(id);
    server.gameInstance() = instance;

    const u32 cellSize = server.world().map.grid.getCellSize();
    std::vector<StepRunner> runners;
    std::vector<Seen> seen;
    for (auto& peer : peers) {
        runners.emplace_back(solution.players[peer->id], cellSize);
        seen.push_back(Seen{0, peer->core.world().units.getUnit(peer->id).body().position, 0});
    }
    PlayResult result;
    result.players.resize(count);
    auto toServer = [&](u32) -> Corvel::MessageQueue& { return serverIncoming; };
    auto toClient = [&](u32 id) -> Corvel::MessageQueue& { return peers.at(id)->incoming; };
    ServerThread serverThread(server);
    auto over = [&] {
        for (std::size_t i = 0; i < count; ++i)
            if (!result.players[i].exited && !runners[i].finished()) return false;
        return true;
    };
    for (u32 frame = 0; frame < tickLimit && !over(); ++frame) {
        for (auto& peer : peers) {
            const Seen& s = seen[peer->id];
            if (auto input = runners[peer->id].next(s.tick, s.position, s.state)) {
                peer->inputs.pushInput(peer->id, *input);
                peer->core.setNextLocalCommand(2);
            }
            peer->core.update(kTick);
            forwardTo(peer->outgoing, toServer);
        }
        if (frame == 0) serverThread.start();
        server.wake();
        std::vector<Seen> now(count);
        const bool answered = waitUntil([&] {
            forwardTo(serverOutgoing, toClient);
            bool all = true;
            for (auto& peer : peers) {
                peer->core.update(0.0f);
                all =
                    readNewest(peer->core, peer->id, now[peer->id]) && now[peer->id].tick >= frame + 1 && all;
            }
            return all;
        });
        if (!answered) {
            result.stalled = true;
            break;
        }
        for (std::size_t i = 0; i < count; ++i) {
            record(result.players[i], seen[i], now[i], i);
            seen[i] = now[i];
        }
        result.ticks = now[0].tick;
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (const std::string& line : runners[i].log()) result.players[i].log.push_back(line);
    }
    return result;
}

}  // namespace zarn_test
