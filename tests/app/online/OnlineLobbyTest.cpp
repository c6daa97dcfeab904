#include <gtest/gtest.h>

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
#include "app/online/NetworkedClientLink.h"
#include "app/online/OnlineSession.h"
#include "map/records/MultiplayerMapList.h"
#include "online/game/GameServerHost.h"
#include "online/game/NetworkedZarnClient.h"
#include "online/lobby/LobbyHeaders.h"
#include "online/lobby/LobbyServer.h"
#include "support/online/LobbyStandIn.h"
#include "online/lobby/NetworkedZarnLobbyClient.h"
#include "presentation/hud/PlayerMarkersHUD2D.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/state/InputState.h"

using namespace cocos2d;
using namespace std::chrono_literals;
using GeometryLib::FPoint;

namespace {

// Bob's game loader: the networked client the game's loader makes, without
// a scene (one director per process), so that his client can keep its own
// pace on a thread of its own.
class SceneLessLoader : public ZarnLobby::ClientGameLoader {
public:
    void load(const Zarn::GameInstance& instance, u32 clientID) override {
        Zarn::GameInstance game = instance;
        game.players = {clientID};
        client =
            makeNetworkedClient(game, clientID, Zarn::NetworkedZarnClient::kDefaultPlaybackLatencyMs, {});
        const std::vector<unsigned char> bytes = FileUtils::getInstance()->getDataFromFile(
            "maps/" + Zarn::MultiplayerMapList().findByHash(instance.mapHash));
        std::istringstream map(std::string(bytes.begin(), bytes.end()));
        client->loadMap(map);
    }
    void connect(u32) override {
        if (client) client->startSessionAsync([] { ADD_FAILURE() << "bob could not reach the game server"; });
    }
    std::shared_ptr<Zarn::NetworkedZarnClient> client;
};

// The whole way in: a lobby server and a game server on ports the system
// picks; Ann quick-joins through the game's online session and plays in the
// online scene, Bob quick-joins through a lobby client and a scene-less game
// loader of his own; his game client keeps its own pace on a thread of its
// own while the test looks.
class OnlineLobbyTest : public zarn_test::PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        const std::vector<unsigned char> bytes =
            FileUtils::getInstance()->getDataFromFile("maps/multi_lv1.map");
        Zarn::GameServerHost::Options game;
        game.address = "127.0.0.1";
        game.maps[0].assign(bytes.begin(), bytes.end());
        gameServer = std::make_unique<Zarn::GameServerHost>(std::move(game));
        gameServer->start();
        ZarnLobby::LobbyServer::Options lobby;
        lobby.address = "127.0.0.1";
        lobby.games = {"127.0.0.1:" + std::to_string(gameServer->port())};
        lobby.maps = {0};
        lobbyServer = std::make_unique<ZarnLobby::LobbyServer>(std::move(lobby));
        lobbyServer->start();
        ASSERT_TRUE(zarn_test::linked(*lobbyServer));
        const u16 lobbyPort = lobbyServer->port();
        OnlineSession::instance().reset();
        OnlineSession::instance().lobbyAddress = [lobbyPort] {
            return ZarnLobby::LobbyAddress{"127.0.0.1", lobbyPort};
        };
    }
    void TearDown() override {
        bobLobby.reset();
        bobLoader.reset();
        OnlineSession::instance().reset();
        PlayFixture::TearDown();
        gameServer.reset();
        lobbyServer.reset();
    }

    // Frames at 60 a second in real time: the director (Ann's session and
    // scene), then Bob's lobby client; Bob's game client, once loaded, keeps
    // its own pace.
    bool play(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s) {
        return zarn_test::playInRealTime(
            done, timeout, [this] { return bobLoader ? bob() : nullptr; },
            [this] {
                OnlineSession::instance().updateLobby();
                if (bobLobby && bobLobby->started()) bobLobby->update();
            });
    }
    static bool quickJoin(ZarnLobby::NetworkedZarnLobbyClient& lobby, const std::string& name) {
        return lobby.lobby().issue(ZarnLobby::lobby_command::quickJoin,
                                   ZarnLobby::ClientQuickJoinHeader(1, name).toBytes());
    }
    Zarn::NetworkedZarnClient* bob() const { return bobLoader->client.get(); }
    static MultiplayerInGameScene* annsScene() {
        return dynamic_cast<MultiplayerInGameScene*>(Director::getInstance()->getRunningScene());
    }
    static FPoint seen(Zarn::ZarnClientInterface& client, u32 player) {
        Zarn::SteerableUnitManager& units = client.getSteerableUnitManager();
        if (!units.hasClient(player)) return FPoint(-1.0f, -1.0f);
        return units.getUnit(player).body().position;
    }
    static FPoint cellCentre(Zarn::ZarnClientInterface& client, int x, int y) {
        const float cell = static_cast<float>(client.getGameMap().grid.getCellSize());
        return FPoint((static_cast<float>(x) + 0.5f) * cell, (static_cast<float>(y) + 0.5f) * cell);
    }
    static float distance(FPoint a, FPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

    std::unique_ptr<Zarn::GameServerHost> gameServer;
    std::unique_ptr<ZarnLobby::LobbyServer> lobbyServer;
    std::unique_ptr<SceneLessLoader> bobLoader;
    std::unique_ptr<ZarnLobby::NetworkedZarnLobbyClient> bobLobby;
};

TEST_F(OnlineLobbyTest, TwoPlayersQuickJoinPlayTogetherOneLeavesAndALostServerSendsTheOtherToTheMenu) {
    run(ZUIMainMenuScene::create(0));
    OnlineSession& session = OnlineSession::instance();
    session.connectToLobby();
    ASSERT_TRUE(play([&] { return session.connection() == LobbyConnection::Connected; }, 10s));
    ASSERT_TRUE(quickJoin(*session.lobbyClient(), "ann"));
    ASSERT_TRUE(play([&] { return session.lobbyClient()->status().state == ZarnLobby::GAME_LOADED; }, 10s));
    session.enterLoadedGame();
    ASSERT_TRUE(play([] { return annsScene() != nullptr; }, 2s)) << "the lobby did not switch to the game";
    MultiplayerInGameScene* ann = annsScene();
    CocosMultiplayerInGameScene* game = ann->getInGameScene();
    EXPECT_EQ(game->getMapName(), "multi_lv1.map");
    const u32 annID = ann->getClient()->getLocalClientID();
    ASSERT_TRUE(play([&] { return ann->getClient()->announced(); }));

    bobLoader = std::make_unique<SceneLessLoader>();
    bobLobby = std::make_unique<ZarnLobby::NetworkedZarnLobbyClient>(bobLoader.get(), 0);
    std::atomic<int> bobConnect{0};
    bobLobby->setCallbacks([&bobConnect] { bobConnect = -1; }, [&bobConnect] { bobConnect = 1; });
    bobLobby->setLobbyEndpoint("127.0.0.1", lobbyServer->port());
    ASSERT_TRUE(play([&] { return bobConnect.load() != 0; }, 10s));
    ASSERT_EQ(bobConnect.load(), 1);
    bobLobby->start();
    ASSERT_TRUE(quickJoin(*bobLobby, "bob"));
    ASSERT_TRUE(play([&] { return bobLobby->status().state == ZarnLobby::GAME_LOADED; }, 10s));
    const u32 bobID = bobLobby->status().clientID;
    EXPECT_NE(bobID, annID);
    ASSERT_NE(bob(), nullptr);
    bobLoader->connect(bobID);

    // Each sees the other.
    ASSERT_TRUE(play([&] {
        return game->getSteerableVisuals().hasVisual(bobID) &&
               bob()->getSteerableUnitManager().hasClient(annID);
    })) << "they never met";
    EXPECT_NE(game->getHUD()->getBadge(bobID), nullptr);
    EXPECT_NE(game->getMarkers()->getMarker(bobID), nullptr);

    // Each one's input moves its unit on the other's client.
    Zarn::ZarnClientInterface& annClient = *ann->getClient();
    const FPoint annTarget = cellCentre(annClient, 3, 1);
    const FPoint bobTarget = cellCentre(annClient, 1, 4);
    click(game->getWorldSprite()->convertToWorldSpace(Vec2(annTarget.x, annTarget.y)));
    bob()->getInputManager().pushInput(bobID, Zarn::InputData(1, bobTarget));
    bob()->setNextLocalCommand(Zarn::LocalCommandId::input);
    int frames = 0;
    EXPECT_TRUE(play([&] {
        ++frames;
        return distance(seen(*bob(), annID), annTarget) < 4.0f &&
               distance(seen(annClient, bobID), bobTarget) < 4.0f;
    })) << "bob sees ann at ("
        << seen(*bob(), annID).x << ", " << seen(*bob(), annID).y << "), ann sees bob at ("
        << seen(annClient, bobID).x << ", " << seen(annClient, bobID).y << ")";
    EXPECT_LT(frames, 600);

    // Bob leaves; Ann sees him go.
    bob()->setNextLocalCommand(Zarn::LocalCommandId::exitGame);
    ASSERT_TRUE(play([&] { return !annClient.getSteerableUnitManager().hasClient(bobID); }));
    EXPECT_FALSE(game->getSteerableVisuals().hasVisual(bobID));
    EXPECT_EQ(game->getHUD()->getBadge(bobID), nullptr);
    EXPECT_EQ(game->getMarkers()->getMarker(bobID), nullptr);
    bobLobby.reset();
    bobLoader.reset();

    // The game server is killed: Ann is back on the main menu with a notice.
    ASSERT_EQ(annsScene(), ann) << "ann's game ended by itself";
    gameServer.reset();
    ASSERT_TRUE(play(
        [] { return dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene()) != nullptr; },
        10s));
    EXPECT_TRUE(textDrawn(U"The connection to the game server was lost."));
}

}  // namespace
