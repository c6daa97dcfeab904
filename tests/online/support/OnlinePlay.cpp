#include "online/support/OnlinePlay.h"

#include <cmath>
#include <mutex>
#include <sstream>
#include <thread>

#include "engine/Director.h"
#include "engine/FileUtils.h"
#include "engine/Scheduler.h"
#include "map/import/GameMap.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/state/InputState.h"
#include "support/net/PacedLoop.h"
#include "world/units/SteerableUnitManager.h"

namespace zarn_test {

using GeometryLib::FPoint;

namespace {
constexpr float kFrame = 1.0f / 60.0f;
}  // namespace

std::string shippedRoomBytes(const std::string& name) {
    const std::vector<unsigned char> bytes =
        cocos2d::FileUtils::getInstance()->getDataFromFile("maps/" + name + ".map");
    return std::string(bytes.begin(), bytes.end());
}

std::unique_ptr<TestGameServer> startGameServer(const std::string& mapBytes) {
    return startTestGameServer(mapBytes);
}

std::unique_ptr<Zarn::NetworkedZarnClient> makeClient(const std::string& endpoint, u32 clientId,
                                                      const std::string& mapBytes,
                                                      const std::vector<Zarn::PlayerInfo>& infos,
                                                      const Convinience::TickClock& clock) {
    auto client = std::make_unique<Zarn::NetworkedZarnClient>(endpoint, 0, clientId, clock);
    Zarn::GameInstance instance;
    instance.fromID = Zarn::GameServerHost::kServerId;
    instance.endpoint = endpoint;
    instance.players.insert(clientId);
    instance.playerInfos = infos;
    client->getCore().setGameInstance(instance);
    std::istringstream map(mapBytes);
    client->loadMap(map);
    return client;
}

void runMainThreadFunctions() {
    cocos2d::Director::getInstance()->getScheduler()->update(0.0f);
}

bool playUntil(const std::vector<Zarn::NetworkedZarnClient*>& clients, const std::function<bool()>& done,
               std::chrono::milliseconds timeout) {
    const auto frame = std::chrono::microseconds(static_cast<long>(kFrame * 1e6f));
    std::vector<std::unique_ptr<PacedLoop>> loops;
    for (Zarn::NetworkedZarnClient* client : clients)
        loops.push_back(std::make_unique<PacedLoop>([client] { client->update(kFrame); }, frame));
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool held = false;
    while (!held && std::chrono::steady_clock::now() < deadline) {
        runMainThreadFunctions();
        std::vector<std::unique_lock<std::mutex>> still;
        for (auto& loop : loops) still.push_back(loop->hold());
        held = done();
        still.clear();
        if (!held) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    loops.clear();
    runMainThreadFunctions();
    return held;
}

void playFor(const std::vector<Zarn::NetworkedZarnClient*>& clients, std::chrono::milliseconds time) {
    playUntil(
        clients, [] { return false; }, time);
}

void moveTo(Zarn::NetworkedZarnClient& client, FPoint point) {
    client.getInputManager().pushInput(client.getLocalClientID(), Zarn::InputData(1, point));
    client.setNextLocalCommand(Zarn::LocalCommandId::input);
}

FPoint cellCentre(Zarn::NetworkedZarnClient& client, int x, int y) {
    const float cell = static_cast<float>(client.getGameMap().grid.getCellSize());
    return FPoint((static_cast<float>(x) + 0.5f) * cell, (static_cast<float>(y) + 0.5f) * cell);
}

bool hasUnit(Zarn::NetworkedZarnClient& client, u32 player) {
    return client.getSteerableUnitManager().hasClient(player);
}

bool hearsTheServer(Zarn::NetworkedZarnClient& client) {
    return !client.getCore().stateBuffer().mapHistory().empty();
}

bool everyoneSeesEveryone(const std::vector<Zarn::NetworkedZarnClient*>& clients,
                          const std::vector<u32>& players) {
    for (Zarn::NetworkedZarnClient* client : clients)
        for (u32 player : players)
            if (!hasUnit(*client, player)) return false;
    return true;
}

FPoint seen(Zarn::NetworkedZarnClient& client, u32 player) {
    if (!hasUnit(client, player)) return FPoint(-1.0f, -1.0f);
    return client.getSteerableUnitManager().getUnit(player).body().position;
}

float distance(FPoint a, FPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace zarn_test
