#include <gtest/gtest.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <map>
#include <memory>
#include <set>

#include "../support/PlayFixture.h"
#include "app/ingame/MultiplayerInGameHUD.h"
#include "app/online/CocosClientGameLoader.h"
#include "app/online/CocosMultiplayerInGameScene.h"
#include "app/online/MultiplayerInGameScene.h"
#include "app/online/NetworkedClientLink.h"
#include "engine/RefPtr.h"
#include "grid/MapViewport.h"
#include "map/records/MultiplayerMapList.h"
#include "presentation/hud/PlayerMarkersHUD2D.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/client/ZarnClientInterface.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/PlayerInfo.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scene/PlayerMarkerLocator.h"
#include "simulation/scene/SteerableXDManager.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "world/units/SteerableUnitManager.h"

using namespace cocos2d;

namespace {

// Player visuals that only remember who has one: each visual is a plain
// node under a parent node of the test's own.
class RecordingVisuals : public Zarn::SteerableXDManager {
public:
    using SteerableXDManager::SteerableXDManager;

    // Needs the engine: called from the fixture's set-up.
    void attach() {
        parentNode_ = Node::create();
        parentMediator_ = std::make_unique<CocosNodeMediator>(parentNode_.get());
        setParent(parentMediator_.get());
    }

    std::set<u32> clients;

protected:
    Zarn::VisualSteerablePair createSteerable2D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player2DAssets&) override {
        auto& node = nodes_[info.clientID];
        node = std::make_unique<CocosNodeMediator>(Node::create());
        return {node.get(), nullptr};
    }
    Zarn::VisualSteerablePair createSteerable3D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player3DAssets&) override {
        return createSteerable2D(info, Zarn::Player2DAssets());
    }
    void removeSteerable(u32 clientID) override {
        clients.erase(clientID);
        nodes_.erase(clientID);
    }
    void onSteerableAdded(u32 clientID) override { clients.insert(clientID); }

private:
    RefPtr<Node> parentNode_;
    std::unique_ptr<CocosNodeMediator> parentMediator_;
    std::map<u32, std::unique_ptr<CocosNodeMediator>> nodes_;
};

class GameNotifierTest : public zarn_test::AppFixture {
protected:
    static bool textDrawn(const std::u32string& text) {
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.glyphs != nullptr && c.glyphs->text == text) return true;
        return false;
    }
    void SetUp() override {
        AppFixture::SetUp();
        visuals.attach();
        camera.setMargins(10000.0f, 10000.0f);
        camera.updateCamera({0.0f, 0.0f});
        Scene* scene = Scene::create();
        hud = MultiplayerInGameHUD::create(players, 3, scores);
        markers = PlayerMarkersHUD2D::create(locator);
        scene->addChild(hud);
        scene->addChild(markers);
        run(scene);
        notifier = std::make_unique<CocosZarnGameNotifier>(
            visuals, [this] { ++exits; }, *hud, *markers);
    }
    void TearDown() override {
        notifier.reset();
        AppFixture::TearDown();
    }
    // The client's unit and info come first, as the game's join command makes them.
    void join(u32 id) {
        units.addClient(id);
        players.addClient(id);
        notifier->playerJoined(id);
    }
    void leave(u32 id) {
        notifier->playerLeft(id);
        players.removeClient(id);
        units.removeClient(id);
    }

    Zarn::SteerableUnitManager units;
    Zarn::PlayerInfoManager players{true};
    Zarn::CellGrid grid;
    Zarn::ZOrderCalculator zOrder{grid};
    RecordingVisuals visuals{units, players, zOrder};
    Zarn::LevelScoreMap scores;
    Zarn::MapViewport camera{Zarn::MapProperties(1000, 1000, 16), 100.0f, 80.0f};
    Zarn::PlayerMarkerLocator locator{units, camera, GeometryLib::FPoint(0.0f, 0.0f)};
    MultiplayerInGameHUD* hud = nullptr;    // held by the scene
    PlayerMarkersHUD2D* markers = nullptr;  // held by the scene
    int exits = 0;
    std::unique_ptr<CocosZarnGameNotifier> notifier;
};

TEST_F(GameNotifierTest, AJoiningPlayerGetsAVisualABadgeAndAMarkerAndLeavingTakesThemAway) {
    join(10);
    join(11);
    EXPECT_EQ(visuals.clients, (std::set<u32>{10, 11}));
    EXPECT_NE(hud->getBadge(10), nullptr);
    EXPECT_NE(hud->getBadge(11), nullptr);
    EXPECT_EQ(markers->getMarkerCount(), 2u);

    // Bob walks out of view: his marker shows.
    units.getUnit(11).body().position = GeometryLib::FPoint(900.0f, 40.0f);
    frame(0.016f);
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame(PlayerMarkersHUD2D::kMarkerFrame).size(),
              1u);
    EXPECT_TRUE(markers->getMarker(11)->isVisible());

    leave(11);
    frame(0.016f);
    EXPECT_EQ(visuals.clients, (std::set<u32>{10}));
    EXPECT_EQ(hud->getBadge(11), nullptr);
    EXPECT_EQ(markers->getMarker(11), nullptr);
    EXPECT_TRUE(Director::getInstance()->getDrawList().findByFrame(PlayerMarkersHUD2D::kMarkerFrame).empty());
    EXPECT_EQ(hud->getBadges().size(), 1u);

    // Joining again gives one fresh marker and one badge.
    join(11);
    notifier->playerJoined(11);
    EXPECT_EQ(markers->getMarkerCount(), 2u);
    EXPECT_EQ(hud->getBadges().size(), 2u);

    EXPECT_EQ(exits, 0);
    notifier->gameNotification();
    EXPECT_EQ(exits, 1) << "the confirmed exit runs the scene's exit handler";
}

// A player whose record changes after it joined (its name came later) shows
// the new name under its badge from the next frame on; the old one is
// drawn nowhere.
TEST_F(GameNotifierTest, AChangedPlayerShowsItsNewNameUnderItsBadge) {
    join(10);
    join(11);
    frame(0.016f);
    ASSERT_NE(hud->getBadgeName(11), nullptr);
    EXPECT_EQ(hud->getBadgeName(11)->getString(), "Player#11");
    players.getInfo(11).name = "bob";
    notifier->playerChanged(11);
    frame(0.016f);
    EXPECT_EQ(hud->getBadgeName(11)->getString(), "bob");
    EXPECT_TRUE(textDrawn(U"bob"));
    EXPECT_FALSE(textDrawn(U"Player#11"));
    EXPECT_TRUE(textDrawn(U"Player#10")) << "the other badge keeps its name";
    EXPECT_EQ(hud->getBadges().size(), 2u);
    notifier->playerChanged(99);  // nobody: nothing
}

// The game loader on the headless engine, with the game's co-op maps.
class GameLoaderTest : public zarn_test::PlayFixture {
protected:
    static Zarn::GameInstance instance(u32 mapHash) {
        Zarn::GameInstance game;
        game.instanceID = 4;
        game.fromID = 1;
        game.mapHash = mapHash;
        game.endpoint = "127.0.0.1:9";
        game.players = {10, 11, 12};
        return game;
    }
};

TEST_F(GameLoaderTest, AnUnknownMapHashThrowsAndLeavesTheLoaderAsItWas) {
    CocosClientGameLoader loader;
    EXPECT_THROW(loader.load(instance(77), 10), Zarn::MapHashNotFoundException);
    EXPECT_EQ(loader.client(), nullptr);
    EXPECT_EQ(loader.scene(), nullptr);

    loader.load(instance(0), 10);
    Zarn::NetworkedZarnClient* first = loader.client();
    MultiplayerInGameScene* scene = loader.scene();
    ASSERT_NE(scene, nullptr);
    EXPECT_THROW(loader.load(instance(77), 10), Zarn::MapHashNotFoundException);
    EXPECT_EQ(loader.client(), first);
    EXPECT_EQ(loader.scene(), scene);
}

TEST_F(GameLoaderTest, ALoadListsOnlyTheLocalPlayerAndASecondLoadReplacesTheFirst) {
    CocosClientGameLoader loader;
    loader.load(instance(0), 10);
    ASSERT_NE(loader.client(), nullptr);
    ASSERT_NE(loader.scene(), nullptr);
    EXPECT_EQ(loader.scene()->getMapName(), "multi_lv1.map");
    Zarn::ZarnClientInterface& first = clientInterface(*loader.client());
    EXPECT_EQ(first.getCore().gameInstance().players, (std::unordered_set<u32>{10}));
    EXPECT_EQ(first.getCore().gameInstance().instanceID, 4u);
    EXPECT_EQ(first.getLocalClientID(), 10u);
    EXPECT_EQ(loader.scene()->getInGameScene()->getHUD()->getInstanceLabel()->getString(), "Instance #4");

    loader.load(instance(1), 11);
    EXPECT_EQ(loader.scene()->getMapName(), "multi_lv2.map");
    EXPECT_EQ(clientInterface(*loader.client()).getLocalClientID(), 11u);
}

TEST_F(GameLoaderTest, TheSceneKeepsItsClientWhenTheLoaderGoesFirst) {
    // A game server that takes the connection into its backlog and never
    // answers, so the scene stays up for as long as the test looks (a closed
    // port would send it back to the menu as soon as the refusal arrives).
    boost::asio::io_context io;
    boost::asio::ip::tcp::acceptor silent(io, {boost::asio::ip::address_v4::loopback(), 0});
    Zarn::GameInstance game = instance(0);
    game.endpoint = "127.0.0.1:" + std::to_string(silent.local_endpoint().port());

    auto loader = std::make_unique<CocosClientGameLoader>();
    loader->load(game, 10);
    MultiplayerInGameScene* scene = loader->scene();
    run(scene);
    loader->releaseScene();
    loader.reset();  // a new lobby panel makes a new loader
    frames(3, kTick);
    EXPECT_EQ(Director::getInstance()->getRunningScene(), scene);
    EXPECT_EQ(clientInterface(*scene->getClient()).getLocalClientID(), 10u);
}

}  // namespace
