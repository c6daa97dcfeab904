#include <gtest/gtest.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <cmath>
#include <functional>
#include <sstream>

#include "../support/PlayFixture.h"
#include "../support/RealTimePlay.h"
#include "app/ingame/MultiplayerInGameHUD.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/online/CocosClientGameLoader.h"
#include "app/online/CocosMultiplayerInGameScene.h"
#include "app/online/MultiplayerInGameScene.h"
#include "online/game/GameServerHost.h"
#include "support/online/LobbyStandIn.h"
#include "online/game/NetworkedZarnClient.h"
#include "presentation/hud/PlayerMarkersHUD2D.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/core/ChatLineQueue.h"
#include "simulation/state/InputState.h"

using namespace cocos2d;
using namespace std::chrono_literals;
using GeometryLib::FPoint;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// One online game on the headless engine: a real game server on loopback
// serving the first co-op room, this process's player (10, "ann") in the
// online scene through the game loader, and a second player (11, "bob") as a
// networked client without a scene, stepped beside it. Frames run at 60 a
// second in real time.
class OnlinePlayTest : public zarn_test::PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        Zarn::chatLineQueue().clear();
        const std::vector<unsigned char> bytes =
            FileUtils::getInstance()->getDataFromFile("maps/multi_lv1.map");
        room.assign(bytes.begin(), bytes.end());
        ASSERT_FALSE(room.empty());
        // The lobby announces both players of instance 5.
        auto server = zarn_test::startTestGameServer(room);
        ASSERT_TRUE(server->admit(10, 0, "ann", 5));
        ASSERT_TRUE(server->admit(11, 1, "bob", 5));
        host = std::move(server);
        endpoint = "127.0.0.1:" + std::to_string(host->port());
    }
    void TearDown() override {
        bob.reset();
        loader.reset();
        // The scene (and with it the client it holds) goes with the director.
        PlayFixture::TearDown();
        host.reset();
        Zarn::chatLineQueue().clear();
    }

    // What the lobby hands over for the first co-op map.
    Zarn::GameInstance instance(u32 clientID, const std::string& name) const {
        Zarn::GameInstance game;
        game.instanceID = 5;
        game.fromID = Zarn::GameServerHost::kServerId;
        game.mapHash = 0;
        game.endpoint = endpoint;
        game.players.insert(clientID);
        game.playerInfos.push_back(Zarn::PlayerInfo(clientID, 0, name));
        return game;
    }
    // Ann's game as the lobby panel enters it.
    MultiplayerInGameScene* enterAnnsGame() {
        loader = std::make_unique<CocosClientGameLoader>();
        loader->load(instance(10, "ann"), 10);
        MultiplayerInGameScene* scene = loader->scene();
        if (scene == nullptr) return nullptr;
        loader->connect(10);
        run(scene);
        loader->releaseScene();
        return scene;
    }
    void joinBob() {
        bob = std::make_unique<Zarn::NetworkedZarnClient>(endpoint, 0, 11);
        bob->getCore().setGameInstance(instance(11, "bob"));
        std::istringstream map(room);
        bob->loadMap(map);
        bob->startSession();
    }

    // Frames until done() holds (true) or the time is up (false); Bob keeps
    // his own pace meanwhile.
    bool play(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s) {
        return zarn_test::playInRealTime(done, timeout, [this] { return bob.get(); });
    }

    static MultiplayerInGameScene* running() {
        return dynamic_cast<MultiplayerInGameScene*>(Director::getInstance()->getRunningScene());
    }
    static Zarn::SteerableUnitManager& annsUnits(MultiplayerInGameScene* scene) {
        return scene->getClient()->getSteerableUnitManager();
    }
    static FPoint seen(MultiplayerInGameScene* scene, u32 player) {
        Zarn::SteerableUnitManager& units = annsUnits(scene);
        if (!units.hasClient(player)) return FPoint(-1.0f, -1.0f);
        return units.getUnit(player).body().position;
    }
    static FPoint cellCentre(MultiplayerInGameScene* scene, int x, int y) {
        const float cell = static_cast<float>(scene->getClient()->getGameMap().grid.getCellSize());
        return FPoint((static_cast<float>(x) + 0.5f) * cell, (static_cast<float>(y) + 0.5f) * cell);
    }
    static float distance(FPoint a, FPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

    std::string room;
    std::string endpoint;
    std::unique_ptr<zarn_test::TestGameServer> host;
    std::unique_ptr<CocosClientGameLoader> loader;
    std::unique_ptr<Zarn::NetworkedZarnClient> bob;
};

TEST_F(OnlinePlayTest, TwoPlayersSeeEachOtherMoveAndLeaveAndALostServerReturnsToTheMenu) {
    MultiplayerInGameScene* scene = enterAnnsGame();
    ASSERT_NE(scene, nullptr);
    CocosMultiplayerInGameScene* game = scene->getInGameScene();
    EXPECT_NE(scene->getMusicID(), -1) << "the first co-op map has its track";
    ASSERT_TRUE(play([&] { return scene->getClient()->announced(); })) << "ann never reached the server";
    joinBob();

    // Bob joins: a visual, a badge and a marker on Ann's screen.
    ASSERT_TRUE(play([&] { return game->getSteerableVisuals().hasVisual(11); })) << "ann never saw bob join";
    EXPECT_NE(game->getHUD()->getBadge(11), nullptr);
    EXPECT_NE(game->getMarkers()->getMarker(11), nullptr);
    EXPECT_NE(game->getHUD()->getBadge(10), nullptr) << "ann's own badge";
    EXPECT_EQ(game->getHUD()->getPlayerCountLabel()->getString(), "2 lab rats playing");
    EXPECT_EQ(game->getHUD()->getInstanceLabel()->getString(), "Instance #5");

    // Ann clicks a cell and walks there; bob walks elsewhere and ann sees him
    // go, his visual with him, within a bounded number of frames.
    const FPoint annTarget = cellCentre(scene, 3, 1);
    const FPoint bobTarget = cellCentre(scene, 1, 4);
    click(game->getWorldSprite()->convertToWorldSpace(Vec2(annTarget.x, annTarget.y)));
    bob->getInputManager().pushInput(11, Zarn::InputData(1, bobTarget));
    bob->setNextLocalCommand(Zarn::LocalCommandId::input);
    int frames = 0;
    EXPECT_TRUE(play([&] {
        ++frames;
        return distance(seen(scene, 10), annTarget) < 4.0f && distance(seen(scene, 11), bobTarget) < 4.0f;
    })) << "ann at ("
        << seen(scene, 10).x << ", " << seen(scene, 10).y << "), bob seen at (" << seen(scene, 11).x << ", "
        << seen(scene, 11).y << ")";
    EXPECT_LT(frames, 600) << "ten seconds of frames";
    const FPoint bobDrawn = game->getSteerableVisuals().findVisualSteerable(11)->getPosition();
    EXPECT_LT(distance(bobDrawn, bobTarget), 8.0f) << "bob's visual stands where his unit is";

    // Bob leaves the game: his visual, badge and marker go.
    bob->setNextLocalCommand(Zarn::LocalCommandId::exitGame);
    ASSERT_TRUE(play([&] { return !annsUnits(scene).hasClient(11); })) << "bob never left";
    bob.reset();
    EXPECT_FALSE(game->getSteerableVisuals().hasVisual(11));
    EXPECT_EQ(game->getHUD()->getBadge(11), nullptr);
    EXPECT_EQ(game->getMarkers()->getMarker(11), nullptr);
    EXPECT_EQ(game->getHUD()->getBadges().size(), 1u);

    // The game server goes away: back to the main menu, with a notice.
    host.reset();
    ASSERT_TRUE(play(
        [] { return dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene()) != nullptr; },
        10s))
        << "the online scene stayed";
    EXPECT_TRUE(textDrawn(U"The connection to the game server was lost."));
}

TEST_F(OnlinePlayTest, LeavingSendsTheExitOnceAndReturnsToTheMenuOnceAfterTwoSeconds) {
    MultiplayerInGameScene* scene = enterAnnsGame();
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(play([&] { return scene->getClient()->announced(); }));
    joinBob();
    ASSERT_TRUE(play([&] { return bob->getSteerableUnitManager().hasClient(10); }));

    view->handleKey(static_cast<int>(EventKeyboard::KeyCode::KEY_ESCAPE), true);
    view->handleKey(static_cast<int>(EventKeyboard::KeyCode::KEY_ESCAPE), false);
    view->handleKey(static_cast<int>(EventKeyboard::KeyCode::KEY_ESCAPE), true);
    view->handleKey(static_cast<int>(EventKeyboard::KeyCode::KEY_ESCAPE), false);
    // The server lets ann go (and confirms it, which ends the game at once
    // for her: the first of the two ways out).
    ASSERT_TRUE(play([&] { return !bob->getSteerableUnitManager().hasClient(10); }, 5s)) << "ann never left";
    ASSERT_TRUE(play(
        [] { return dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene()) != nullptr; },
        5s));
    Scene* menu = Director::getInstance()->getRunningScene();
    // The 2 s wait has passed by now or passes here: no second menu.
    play([] { return false; }, 2500ms);
    EXPECT_EQ(Director::getInstance()->getRunningScene(), menu) << "the game ended twice";
    EXPECT_FALSE(textDrawn(U"The connection to the game server was lost."));
}

TEST_F(OnlinePlayTest, AGameServerThatCannotBeReachedIsANoticeOnTheMainMenu) {
    u16 closed = 0;
    {
        boost::asio::io_context io;
        boost::asio::ip::tcp::acceptor acceptor(io, {boost::asio::ip::address_v4::loopback(), 0});
        closed = acceptor.local_endpoint().port();
    }
    endpoint = "127.0.0.1:" + std::to_string(closed);
    ASSERT_NE(enterAnnsGame(), nullptr);
    ASSERT_TRUE(play(
        [] { return dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene()) != nullptr; },
        15s));
    EXPECT_TRUE(textDrawn(U"Could not connect to the game server."));
}

TEST_F(OnlinePlayTest, AGameThatGoesWithoutBeingLeftLetsThePlayerGoWithoutHoldingTheFrame) {
    MultiplayerInGameScene* scene = enterAnnsGame();
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(play([&] { return scene->getClient()->announced(); }));
    joinBob();
    ASSERT_TRUE(play([&] { return bob->getSteerableUnitManager().hasClient(10); }));

    // Something else takes the screen: the game scene goes with its client.
    Director::getInstance()->replaceScene(Scene::create());
    const auto before = std::chrono::steady_clock::now();
    frame(kFrame);
    frame(kFrame);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 300ms) << "the frame waited on the network";
    EXPECT_TRUE(play([&] { return !bob->getSteerableUnitManager().hasClient(10); }, 5s))
        << "the server never let ann go";
}

}  // namespace
