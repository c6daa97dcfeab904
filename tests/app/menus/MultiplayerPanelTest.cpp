#include <gtest/gtest.h>

#include <algorithm>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "../support/AppFixture.h"
#include "app/menus/ArtSpace.h"
#include "app/menus/ZUIMultiplayerPanelEx.h"
#include "app/online/OnlineSession.h"
#include "app/start/Settings.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "foundation/SaveFiles.h"
#include "foundation/Stopwatch.h"
#include "online/lobby/LobbyServer.h"
#include "support/online/LobbyStandIn.h"
#include "online/lobby/NetworkedZarnLobbyClient.h"
#include "support/net/RawTcpPeer.h"

using namespace cocos2d;
using namespace std::chrono_literals;

namespace {

// What the fake game loader saw: the loads the lobby asked for and the
// entries into the loaded game.
struct LoaderRecord {
    int loads = 0;
    Zarn::GameInstance instance;
    u32 clientID = 0;
    std::vector<u32> entered;
};

class FakeLoader : public ZarnLobby::ClientGameLoader {
public:
    explicit FakeLoader(LoaderRecord* record) : record_(record) {}
    void load(const Zarn::GameInstance& instance, u32 clientID) override {
        ++record_->loads;
        record_->instance = instance;
        record_->clientID = clientID;
    }

private:
    LoaderRecord* record_;
};

bool drawsText(const std::u32string& text) {
    for (const DrawCommand& c : Director::getInstance()->getDrawList().commands) {
        if (c.glyphs != nullptr && c.glyphs->text == text) return true;
    }
    return false;
}

Label* faceLabel(ZUISkewedRectButton* button) {
    for (Node* child : button->getFace()->getChildren()) {
        if (auto* label = dynamic_cast<Label*>(child)) return label;
    }
    return nullptr;
}

class MultiplayerPanel : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        std::filesystem::remove(settingsPath());
        OnlineSession::instance().loaderFactory = [this] {
            return OnlineGameLoader{std::make_unique<FakeLoader>(&record),
                                    [this](u32 clientID) { record.entered.push_back(clientID); }};
        };
    }
    void TearDown() override {
        if (panel != nullptr) panel->release();
        AppFixture::TearDown();
        if (server) server->stop();
        std::filesystem::remove(settingsPath());
    }
    static std::string settingsPath() { return Convinience::writablePath() + kSettingsFileName; }

    void startServer() {
        ZarnLobby::LobbyServer::Options options;
        options.address = "127.0.0.1";
        options.games = {game.endpoint()};
        server.emplace(options);
        server->start();
        EXPECT_TRUE(zarn_test::linked(*server));
        const u16 port = server->port();
        OnlineSession::instance().lobbyAddress = [port] {
            return ZarnLobby::LobbyAddress{"127.0.0.1", port};
        };
    }
    // A panel on a running scene, shown as the main menu shows it; the test
    // holds a reference (released in TearDown unless dropped earlier).
    ZUIMultiplayerPanelEx* open() {
        if (Director::getInstance()->getRunningScene() == nullptr) run(Scene::create());
        ZUIMultiplayerPanelEx* made = ZUIMultiplayerPanelEx::create();
        made->retain();
        made->setScale(kMenuScale);
        made->setPosition(Vec2(512, 288));
        Director::getInstance()->getRunningScene()->addChild(made);
        frame();
        return made;
    }
    // Takes the panel off the scene and drops the test's reference.
    void close(ZUIMultiplayerPanelEx*& which) {
        which->removeFromParent();
        which->release();
        which = nullptr;
    }
    bool connected(ZUIMultiplayerPanelEx* p) {
        return framesUntil([p] { return p->coopButton->isEnabled(); });
    }

    LoaderRecord record;
    zarn_test::GameServerStandIn game;
    std::optional<ZarnLobby::LobbyServer> server;
    ZUIMultiplayerPanelEx* panel = nullptr;
};

}  // namespace

TEST(MultiplayerPanelRules, LatencySliderScale) {
    EXPECT_EQ(latencySliderPercent(166), 46);
    EXPECT_EQ(latencySliderPercent(300), 100);
    EXPECT_EQ(latencySliderPercent(50), 0);
    EXPECT_EQ(latencySliderPercent(0), 0);  // below the scale: shown at its start
    EXPECT_EQ(latencyFromSliderPercent(0), 50u);
    EXPECT_EQ(latencyFromSliderPercent(46), 165u);
    EXPECT_EQ(latencyFromSliderPercent(47), 167u);
    EXPECT_EQ(latencyFromSliderPercent(100), 300u);
    for (int p = 0; p <= 100; ++p) {
        EXPECT_EQ(latencyFromSliderPercent(p), static_cast<u32>(2.5 * p + 50)) << p;
    }
    EXPECT_EQ(latencyText(166), "166ms");
}

TEST(MultiplayerPanelRules, InstanceNumbers) {
    struct Case {
        const char* text;
        std::optional<u32> number;
    };
    const Case cases[] = {
        {"12ab", 12u}, {"007", 7u}, {" 5", 5u}, {"99999999", 99999999u}, {"", {}},           {"ab12", {}},
        {"-5", {}},    {"+5", {}},  {" ", {}},  {"4294967295", ~0u},     {"4294967296", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseInstanceNumber(c.text), c.number) << c.text;
}

TEST_F(MultiplayerPanel, LaysOutTheModeButtonsInfoBoxFieldsAndSlider) {
    panel = open();
    for (const char32_t* text :
         {U"Co-op", U"Join\nGame", U"Race", U"Custom\nGame", U"Network Info", U"Nickname", U"Instance #",
          U"Network Latency", U"166ms", U"Connecting to lobby..."}) {
        EXPECT_TRUE(drawsText(text)) << std::string(text, text + std::char_traits<char32_t>::length(text));
    }
    EXPECT_EQ(panel->referenceSize, Size(2560, 1440));
    // Corners on the canvas: Co-op's bottom-left at (62.667, 730.107).
    const Size coop = panel->coopButton->getContentSize();
    EXPECT_NEAR(panel->coopButton->getPositionX() - coop.width / 2, 62.667f - 1280, 0.01f);
    EXPECT_NEAR(panel->coopButton->getPositionY() - coop.height / 2, 730.107f - 720, 0.01f);
    const Size custom = panel->customGameButton->getContentSize();
    EXPECT_NEAR(panel->customGameButton->getPositionX() - custom.width / 2, 847.127f - 1280, 0.01f);
    EXPECT_EQ(panel->joinGameButton->getStyle().p0, skewedRectButtonStyles[5].p0);
    EXPECT_EQ(faceLabel(panel->joinGameButton)->getPosition(),
              Vec2(panel->joinGameButton->getContentSize().width / 2 + 30,
                   panel->joinGameButton->getContentSize().height / 2));
    EXPECT_EQ(faceLabel(panel->coopButton)->getTextColor(), Color4B(51, 51, 51, 255));
    EXPECT_FLOAT_EQ(faceLabel(panel->coopButton)->getRotation(), -5.0f);

    // The info box: one draw node, a purple strip under a pink panel whose
    // right edge is the canvas's (1594.66 + 965.333 = 2560).
    const Color4F purple(Color3B(130, 56, 158), 1.0f);
    const Color4F pink(Color3B(239, 223, 237), 1.0f);
    bool boxDrawn = false;
    for (const DrawCommand& c : Director::getInstance()->getDrawList().commands) {
        if (c.kind != DrawKind::Shapes || c.shapes == nullptr) continue;
        const auto& triangles = c.shapes->triangles;
        if (triangles.empty() || !(triangles.front().color == purple)) continue;
        float pinkRight = 0;
        for (const ShapeVertex& v : triangles) {
            if (v.color == pink) pinkRight = std::max(pinkRight, v.position.x);
        }
        EXPECT_NEAR(pinkRight, 965.333f + 5.0f / 2, 0.01f);  // with the border's outer half
        EXPECT_EQ(c.node->getPosition(), Vec2(1594.66f - 1280, -720));
        boxDrawn = true;
    }
    EXPECT_TRUE(boxDrawn);

    // The fields: empty, limited to 14 and 8, 400 and 80 into their backdrops.
    EXPECT_EQ(panel->nicknameField->getString(), "");
    EXPECT_EQ(panel->nicknameField->getMaxLength(), 14);
    EXPECT_TRUE(panel->nicknameField->isMaxLengthEnabled());
    EXPECT_EQ(panel->instanceField->getMaxLength(), 8);
    EXPECT_EQ(panel->nicknameField->getPosition(), Vec2(1641.31f - 1280 + 400, 977.233f - 720 + 80));
    EXPECT_EQ(panel->instanceField->getPosition(), Vec2(1641.31f - 1280 + 400, 734.567f - 720 + 80));

    // The slider at 46 % for the default 166 ms, its label 60 below it.
    EXPECT_EQ(panel->latencySlider->getPercent(), 46);
    EXPECT_FLOAT_EQ(panel->latencySlider->getScale(), 0.5f);
    EXPECT_EQ(panel->latencyLabel->getPosition(), panel->latencySlider->getPosition() + Vec2(0, -60));
    EXPECT_FALSE(Director::getInstance()->getDrawList().findByFrame("Slider_Back.png").empty());
    EXPECT_FALSE(Director::getInstance()->getDrawList().findByFrame("icon_back.png").empty());

    // While it connects every mode button is disabled.
    for (ZUISkewedRectButton* b :
         {panel->coopButton, panel->joinGameButton, panel->raceButton, panel->customGameButton}) {
        EXPECT_FALSE(b->isEnabled());
    }
}

TEST_F(MultiplayerPanel, TheSliderSetsTheLatencyAndClosingThePanelSavesIt) {
    panel = open();
    // Touching the slider without moving it off 46 % chooses 165.
    panel->onLatencyChanged();
    EXPECT_EQ(Settings.NETWORK_LATENCY, 165u);
    EXPECT_EQ(panel->latencyLabel->getString(), "165ms");
    panel->latencySlider->setPercent(100);
    panel->onLatencyChanged();
    EXPECT_EQ(panel->latencyLabel->getString(), "300ms");
    panel->latencySlider->setPercent(0);
    panel->onLatencyChanged();
    EXPECT_EQ(Settings.NETWORK_LATENCY, 50u);
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));
    close(panel);
    std::ifstream file(settingsPath());
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("NETWORK_LATENCY=50"), std::string::npos);

    Settings.NETWORK_LATENCY = 300;
    panel = open();
    EXPECT_EQ(panel->latencySlider->getPercent(), 100);
    EXPECT_EQ(panel->latencyLabel->getString(), "300ms");
}

TEST_F(MultiplayerPanel, ARefusedLobbyShowsItsNoticeAndKeepsTheButtonsDisabled) {
    panel = open();
    ASSERT_TRUE(framesUntil([&] { return panel->statusLabel->getString() != "Connecting to lobby..."; }));
    EXPECT_EQ(panel->statusLabel->getString(), "Could not connect to lobby! Try again later.\n");
    frames(5, 0.1f);
    for (ZUISkewedRectButton* b :
         {panel->coopButton, panel->joinGameButton, panel->raceButton, panel->customGameButton}) {
        EXPECT_FALSE(b->isEnabled());
    }
}

TEST_F(MultiplayerPanel, CoopQuickJoinsAndTheLoadedGameIsEnteredOnce) {
    startServer();
    panel = open();
    ASSERT_TRUE(connected(panel));
    EXPECT_TRUE(drawsText(U"Connected to lobby!\n"));
    EXPECT_TRUE(panel->joinGameButton->isEnabled());
    EXPECT_FALSE(panel->raceButton->isEnabled());
    EXPECT_FALSE(panel->customGameButton->isEnabled());

    // The pointer over an enabled mode button turns its label white.
    mouseTo(centreOf(panel->coopButton));
    EXPECT_EQ(faceLabel(panel->coopButton)->getTextColor(), Color4B::WHITE);
    mouseTo(Vec2(1, 1));
    EXPECT_EQ(faceLabel(panel->coopButton)->getTextColor(), Color4B(51, 51, 51, 255));

    panel->nicknameField->setString("ann");
    click(centreOf(panel->coopButton));
    EXPECT_FALSE(panel->coopButton->isEnabled());
    ASSERT_TRUE(framesUntil([&] { return record.loads == 1; }));
    EXPECT_EQ(record.instance.endpoint, game.endpoint());
    EXPECT_GE(record.clientID, ZarnLobby::LobbyServer::kFirstClientID);
    EXPECT_EQ(OnlineSession::instance().lobbyClient()->lobby().playerInfo.name, "ann");
    EXPECT_EQ(panel->statusLabel->getString(), "Joining...\n");
    frames(5, 1.0f / 60);
    EXPECT_EQ(record.entered, std::vector<u32>{record.clientID});

    // Leaving the page with a game loaded keeps the lobby connection.
    close(panel);
    ASSERT_NE(OnlineSession::instance().lobbyClient(), nullptr);
    EXPECT_EQ(OnlineSession::instance().lobbyClient()->status().state, ZarnLobby::GAME_LOADED);
}

TEST_F(MultiplayerPanel, JoinByNumberSendsTheLeadingDigitsAndShowsTheAnswer) {
    startServer();
    panel = open();
    ASSERT_TRUE(connected(panel));
    panel->instanceField->setString("ab12");
    click(centreOf(panel->joinGameButton));
    frame();
    EXPECT_EQ(panel->statusLabel->getString(), "Not a valid number!\n");
    EXPECT_TRUE(panel->joinGameButton->isEnabled());
    EXPECT_EQ(panel->lobbyStatus->state, ZarnLobby::LOITERING);

    panel->instanceField->setString("12ab");
    click(centreOf(panel->joinGameButton));
    EXPECT_FALSE(panel->coopButton->isEnabled());
    ASSERT_TRUE(framesUntil([&] { return panel->coopButton->isEnabled(); }));
    // No game 12 runs: the lobby says so and the buttons come back.
    const std::string notFound = "No such instance ID\n";
    ASSERT_TRUE(framesUntil([&] {
        const std::string& shown = panel->statusLabel->getString();
        return shown.size() >= notFound.size() &&
               shown.compare(shown.size() - notFound.size(), notFound.size(), notFound) == 0;
    }));
    EXPECT_TRUE(panel->joinGameButton->isEnabled());
    EXPECT_EQ(record.loads, 0);
}

TEST_F(MultiplayerPanel, LeavingWhileConnectedClosesTheLobbyConnection) {
    zarn_test::RawTcpPeer peer;
    OnlineSession::instance().lobbyAddress = [port = peer.port()] {
        return ZarnLobby::LobbyAddress{"127.0.0.1", port};
    };
    panel = open();
    peer.accept();
    ASSERT_TRUE(connected(panel));
    close(panel);
    EXPECT_EQ(OnlineSession::instance().lobbyClient(), nullptr);
    EXPECT_THROW(peer.read(1), std::exception);  // the peer sees the stream end
}

TEST_F(MultiplayerPanel, APanelDestroyedWhileItsConnectIsUnderWayIsLeftAlone) {
    // A lobby that never answers: the connect stays under way.
    zarn_test::SilentListener silent;
    OnlineSession::instance().lobbyAddress = [port = silent.port()] {
        return ZarnLobby::LobbyAddress{"127.0.0.1", port};
    };
    panel = open();
    frames(3, 1.0f / 60);
    const auto start = std::chrono::steady_clock::now();
    close(panel);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(OnlineSession::instance().lobbyClient(), nullptr);
    frames(3, 1.0f / 60);
    EXPECT_TRUE(OnlineSession::instance().takeNotices().empty());
}

TEST_F(MultiplayerPanel, AnOutcomeThatArrivesAfterThePanelWentDoesNothing) {
    // Connected and failed outcomes handed to the main thread while no frame
    // runs, then the panel goes before they are delivered.
    zarn_test::SilentListener silent;
    OnlineSession::instance().connectTimeout = 20ms;
    OnlineSession::instance().lobbyAddress = [port = silent.port()] {
        return ZarnLobby::LobbyAddress{"127.0.0.1", port};
    };
    panel = open();
    std::this_thread::sleep_for(300ms);  // the failure is waiting for the next frame
    close(panel);
    startServer();
    panel = open();
    std::this_thread::sleep_for(300ms);  // the connect is waiting for the next frame
    close(panel);
    // What a slow machine delivered in the opening frames does not count.
    OnlineSession::instance().takeNotices();
    frames(5, 1.0f / 60);
    EXPECT_EQ(OnlineSession::instance().lobbyClient(), nullptr);
    EXPECT_EQ(OnlineSession::instance().connection(), LobbyConnection::None);
    EXPECT_TRUE(OnlineSession::instance().takeNotices().empty());
}

TEST_F(MultiplayerPanel, ANewerPanelTakesTheLobbyClientOverAndKeepsIt) {
    startServer();
    ZUIMultiplayerPanelEx* first = open();
    ASSERT_TRUE(connected(first));
    panel = open();
    frame();
    EXPECT_EQ(first->lobbyStatus, nullptr);  // the first page stops ticking the client
    close(first);
    ASSERT_TRUE(connected(panel));
    ASSERT_NE(OnlineSession::instance().lobbyClient(), nullptr);
    click(centreOf(panel->coopButton));
    ASSERT_TRUE(framesUntil([&] { return record.loads == 1; }));
}

namespace {

std::string settingsFileText() {
    std::ifstream file(Convinience::writablePath() + kSettingsFileName);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool labelEndsWith(const Label* label, const std::string& end) {
    const std::string& shown = label->getString();
    return shown.size() >= end.size() && shown.compare(shown.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST(MultiplayerPanelRules, StorableNicknames) {
    const std::pair<std::string, std::string> cases[] = {
        {"ann", "ann"},
        {"", ""},
        {"rat\nking", "ratking"},  // a line break would end the settings line
        {"a\rb\tc\x7f", "abc"},
        {"fourteen chars", "fourteen chars"},
        {"fifteen letters", "fifteen letter"},
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
         "\xc3\xa9\xc3"
         "\xa9\xc3\xa9",
         "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
         "\xc3\xa9\xc3"
         "\xa9"},  // fourteen characters, never half of one
    };
    for (const auto& [typed, kept] : cases) EXPECT_EQ(storableNickname(typed), kept) << typed;
}

// The nickname typed on the page is the settings' last multiplayer name as
// soon as the player joins with it (written to settings.ini at once), and
// also when the page goes; the page opens with it again, in the same run and
// after the settings were read again at the next start.
TEST_F(MultiplayerPanel, TheNicknameIsKeptAndShownAgainInThisRunAndAfterARestart) {
    startServer();
    panel = open();
    EXPECT_EQ(panel->nicknameField->getString(), "") << "nothing kept yet";
    ASSERT_TRUE(connected(panel));
    panel->nicknameField->setString("Ratty");
    click(centreOf(panel->coopButton));
    EXPECT_EQ(Settings.LAST_MULTIPLAYER_NAME, "Ratty");
    EXPECT_NE(settingsFileText().find("LAST_MULTIPLAYER_NAME=Ratty\n"), std::string::npos)
        << settingsFileText();
    close(panel);

    panel = open();
    EXPECT_EQ(panel->nicknameField->getString(), "Ratty");
    panel->nicknameField->setString("Squeak");  // typed, then the page goes
    close(panel);
    EXPECT_NE(settingsFileText().find("LAST_MULTIPLAYER_NAME=Squeak\n"), std::string::npos)
        << settingsFileText();

    // The next start reads the file.
    resetSettingsForTests();
    EXPECT_EQ(Settings.LAST_MULTIPLAYER_NAME, "");
    loadSettings();
    panel = open();
    EXPECT_EQ(panel->nicknameField->getString(), "Squeak");
}

// A lobby that takes the connection and never answers a join: five seconds
// (by the session's clock) after "Joining..." the player is told, and the
// page is the player's again once a new connection stands.
TEST_F(MultiplayerPanel, AJoinTheLobbyLeavesUnansweredForFiveSecondsGivesThePageBack) {
    // Connections complete in the backlog; nothing is ever read or answered.
    boost::asio::io_context io;
    boost::asio::ip::tcp::acceptor deaf(io, {boost::asio::ip::address_v4::loopback(), 0});
    Convinience::ManualTickClock clock;
    OnlineSession::instance().clock = &clock;
    OnlineSession::instance().lobbyAddress = [port = deaf.local_endpoint().port()] {
        return ZarnLobby::LobbyAddress{"127.0.0.1", port};
    };
    panel = open();
    ASSERT_TRUE(connected(panel));
    click(centreOf(panel->coopButton));
    frames(3, 1.0f / 60);
    EXPECT_EQ(panel->statusLabel->getString(), "Joining...\n");
    clock.advanceMs(4999);
    frames(3, 1.0f / 60);
    EXPECT_EQ(panel->statusLabel->getString(), "Joining...\n");
    EXPECT_FALSE(panel->coopButton->isEnabled());

    clock.advanceMs(1);
    frames(2, 1.0f / 60);
    EXPECT_EQ(panel->statusLabel->getString(), std::string(OnlineSession::kNoAnswerNotice) + "\n");
    ASSERT_TRUE(connected(panel)) << "the page never came back";
    EXPECT_TRUE(panel->joinGameButton->isEnabled());
    EXPECT_EQ(panel->statusLabel->getString(), std::string(OnlineSession::kNoAnswerNotice) + "\n")
        << "the new connection keeps the notice on show";
    // And it can be tried again.
    click(centreOf(panel->coopButton));
    frames(3, 1.0f / 60);
    EXPECT_EQ(panel->statusLabel->getString(), "Joining...\n");
}

// A lobby that goes away under a connected page: the player is told, and the
// page tries to connect again (here in vain: the lobby is gone).
TEST_F(MultiplayerPanel, ALostLobbyConnectionIsANoticeAndThePageConnectsAgain) {
    startServer();
    panel = open();
    ASSERT_TRUE(connected(panel));
    server.reset();
    ASSERT_TRUE(framesUntil([&] { return labelEndsWith(panel->statusLabel, "Try again later.\n"); }))
        << panel->statusLabel->getString();
    EXPECT_EQ(panel->statusLabel->getString(), std::string(OnlineSession::kLobbyLostNotice) + "\n" +
                                                   OnlineSession::kConnectFailedNotice + "\n");
    EXPECT_FALSE(panel->coopButton->isEnabled());

    // A lobby that is back is found by a page opened again.
    startServer();
    close(panel);
    panel = open();
    ASSERT_TRUE(connected(panel));
}
