#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <vector>

#include "../support/PlayFixture.h"
#include "../support/RealTimePlay.h"
#include "app/ingame/MultiplayerInGameHUD.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/online/CocosClientGameLoader.h"
#include "app/online/CocosMultiplayerInGameScene.h"
#include "app/online/MultiplayerInGameScene.h"
#include "engine/FileUtils.h"
#include "engine/RefPtr.h"
#include "map/records/ActionData.h"
#include "map/records/MapEventData.h"
#include "map/records/TriggerData.h"
#include "online/game/GameServerHost.h"
#include "online/game/NetworkedZarnClient.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/state/InputState.h"
#include "support/TestEnvironment.h"
#include "support/map/MapBuilder.h"
#include "support/online/LobbyStandIn.h"
#include "world/units/SteerableUnit.h"

using namespace cocos2d;
using namespace std::chrono_literals;
using GeometryLib::FPoint;

namespace {

constexpr float kFrame = 1.0f / 60.0f;
constexpr u32 kAnn = 10;
constexpr u32 kBob = 11;
// The rooms end this long after everyone is out (instead of the game's 6 s),
// so that the test is quick.
constexpr float kRoomEndSeconds = 0.5f;

// A small co-op room of 64-unit cells: the players come in at (1, 3) and the
// exit is two cells to the right, (4, 3) and (5, 3), as rooms build exits.
std::string coopRoomBytes() {
    zarn_test::MapBuilder b("coop", GeometryLib::Point(96, 224));
    b.grid(64, {"#######", "#.....#", "#.....#", "#.....#", "#.....#", "#######"});
    Zarn::MapEventData exit;
    exit.eventId = 900;
    auto area = std::make_unique<Zarn::AreaTriggerData>();
    area->triggerId = 20;
    area->count = std::numeric_limits<u32>::max();
    area->cells.insert(GeometryLib::Point(4, 3));
    area->cells.insert(GeometryLib::Point(5, 3));
    exit.trigger = std::move(area);
    exit.actions.push_back(std::make_unique<Zarn::ActionData>(37));
    b.event(exit);
    const std::vector<u8> bytes = b.bytes();
    return std::string(bytes.begin(), bytes.end());
}

// Two players in the online game of one co-op room on a real game server:
// Ann (10) in the online scene that the game loader made, Bob (11) as a
// networked client without a scene on a thread of his own. Both co-op maps
// are the small room above (laid in front of the game's assets), so that a
// room is over as soon as both have walked two cells.
class RoomEndTest : public zarn_test::PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        room = coopRoomBytes();
        rooms = std::filesystem::path(zarn_test::tempDir()) / "coop-rooms";
        std::filesystem::create_directories(rooms / "maps");
        for (const char* name : {"multi_lv1.map", "multi_lv2.map"}) {
            std::ofstream out(rooms / "maps" / name, std::ios::binary);
            out.write(room.data(), static_cast<std::streamsize>(room.size()));
        }
        FileUtils::getInstance()->addSearchPath(rooms.string() + "/", true);
        // The lobby announces both players of instance 5.
        host = zarn_test::startTestGameServer(room);
        ASSERT_TRUE(host->admit(kAnn, 0, "ann", 5));
        ASSERT_TRUE(host->admit(kBob, 1, "bob", 5));
        endpoint = "127.0.0.1:" + std::to_string(host->port());
    }
    void TearDown() override {
        bob.reset();
        loader.reset();
        ann.reset();
        PlayFixture::TearDown();
        host.reset();
        // The game's own rooms for the tests after this one.
        std::vector<std::string> paths = FileUtils::getInstance()->getSearchPaths();
        std::erase_if(paths, [&](const std::string& p) { return p.find("coop-rooms") != std::string::npos; });
        FileUtils::getInstance()->setSearchPaths(paths);
    }

    Zarn::GameInstance instance(u32 clientID, u32 mapHash) const {
        Zarn::GameInstance game;
        game.instanceID = 5;
        game.fromID = Zarn::GameServerHost::kServerId;
        game.mapHash = mapHash;
        game.endpoint = endpoint;
        game.players.insert(clientID);
        game.playerInfos = {Zarn::PlayerInfo(kAnn, 0, "ann"), Zarn::PlayerInfo(kBob, 1, "bob")};
        return game;
    }
    // Ann and Bob in the room of the map hash, each seeing the other.
    ::testing::AssertionResult enterRoom(u32 mapHash) {
        loader = std::make_unique<CocosClientGameLoader>();
        loader->load(instance(kAnn, mapHash), kAnn);
        ann = loader->scene();
        if (ann == nullptr) return ::testing::AssertionFailure() << "no scene";
        loader->client()->getCore().setSharedExit(kRoomEndSeconds);
        loader->connect(kAnn);
        run(ann.get());
        loader->releaseScene();
        bob = std::make_unique<Zarn::NetworkedZarnClient>(endpoint, 0, kBob);
        bob->getCore().setGameInstance(instance(kBob, mapHash));
        bob->getCore().setSharedExit(kRoomEndSeconds);
        Zarn::NetworkedZarnClient* b = bob.get();
        bob->getCore().setExitHandler([b] { b->setNextLocalCommand(Zarn::LocalCommandId::exitGame); });
        std::istringstream map(room);
        bob->loadMap(map);
        bob->startSession();
        if (!play([&] {
                return units(ann.get()).hasClient(kBob) && bob->getSteerableUnitManager().hasClient(kAnn);
            }))
            return ::testing::AssertionFailure() << "they never met";
        return ::testing::AssertionSuccess();
    }

    // Frames of Ann's scene until done() holds; Bob keeps his own pace.
    bool play(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s) {
        return zarn_test::playInRealTime(done, timeout, [this] { return bob.get(); });
    }

    static Zarn::SteerableUnitManager& units(MultiplayerInGameScene* scene) {
        return scene->getClient()->getSteerableUnitManager();
    }
    static u32 state(MultiplayerInGameScene* scene, u32 player) {
        return units(scene).hasClient(player) ? units(scene).getUnit(player).state : 999;
    }
    static FPoint exitCell() { return FPoint(4 * 64 + 32, 3 * 64 + 32); }
    static Scene* running() { return Director::getInstance()->getRunningScene(); }
    void annWalksOut() {
        const FPoint exit = exitCell();
        click(ann->getInGameScene()->getWorldSprite()->convertToWorldSpace(Vec2(exit.x, exit.y)));
    }
    void bobWalksOut() {
        bob->getInputManager().pushInput(kBob, Zarn::InputData(1, exitCell()));
        bob->setNextLocalCommand(Zarn::LocalCommandId::input);
    }

    std::string room;
    std::filesystem::path rooms;
    std::string endpoint;
    std::unique_ptr<zarn_test::TestGameServer> host;
    std::unique_ptr<CocosClientGameLoader> loader;
    // Held here too: the director lets go of the scene once the main menu is in.
    RefPtr<MultiplayerInGameScene> ann;
    std::unique_ptr<Zarn::NetworkedZarnClient> bob;
};

// The player who joined second steps on the exit: the exit takes him, not
// the player who joined first, who plays on where she is; nobody is sent to
// the menu. When she is out too, the room is over for both together: each
// leaves the game and Ann's scene gives way to the main menu (without a
// notice: nothing went wrong), and the game on the server ends by itself.
TEST_F(RoomEndTest, TheExitTakesThePlayerOnItAndTheRoomEndsForBothTogether) {
    ASSERT_TRUE(enterRoom(0));
    bobWalksOut();
    ASSERT_TRUE(play([&] { return state(ann.get(), kBob) == Zarn::UnitState::carried; }))
        << "bob never got out";
    EXPECT_EQ(state(ann.get(), kAnn), 0u) << "the exit took ann";
    EXPECT_EQ(bob->getSteerableUnitManager().getUnit(kAnn).state, 0u);
    play([] { return false; }, 1500ms);
    EXPECT_EQ(running(), ann.get()) << "ann left the room while she was still in it";
    EXPECT_FALSE(bob->getCore().exiter().fired) << "bob's room ended while ann was still in it";
    EXPECT_EQ(state(ann.get(), kAnn), 0u);

    annWalksOut();
    ASSERT_TRUE(play([] { return dynamic_cast<ZUIMainMenuScene*>(running()) != nullptr; }))
        << "the room never ended for ann";
    EXPECT_TRUE(ann->isFinished());
    EXPECT_TRUE(bob->getCore().exiter().fired);
    frame(kFrame);
    EXPECT_FALSE(textDrawn(U"The connection to the game server was lost."));
    EXPECT_FALSE(textDrawn(U"The game stopped after an error."));
    EXPECT_TRUE(play([&] { return host->stats().games == 0; }, 15s)) << "the game never ended";
}

}  // namespace
