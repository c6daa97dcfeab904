// One player of the co-op process test: the game itself (start-up, main
// menu, multiplayer page, online scene) on the headless engine, driven as a
// player drives it, against a real lobby and game server.
//
//   zarn-coop-player --lobby HOST:PORT --dir WRITABLE [--name NAME]
//                    [--others NAME,NAME] [--check-names] [--deadline SECONDS] MODE
//
// Modes:
//   play N      quick-joins N times in a row; each time plays its part of the
//               room's recorded solution (the part of its player number) and
//               waits for the room's end at the main menu.
//   hold        quick-joins once and stands still until the game is over.
//   unanswered  quick-joins and waits until the page is back after the lobby
//               left the join unanswered.
//   nickname    opens the multiplayer page and says what the nickname field
//               shows; with --name it types that name and leaves the page.
//
// With --check-names every frame in a room checks that each player's badge
// and name tag show the player's nickname (its own --name, the others one of
// --others), from the first frame they are shown, that each other player in
// the room has its off-screen marker, and that the display's instance number and count of
// players are those of the game.
//
// It says what it saw on stdout, one line each: "ROOM <map> <client ID>
// <number>", "MET" (as many other players as --others names are in the
// room), "FINISHED
// <map>" (the room was over for everyone and the main menu is back without a
// notice), "MENU <notice or ->", "NAMES <frames checked>", "PAGE BACK
// <seconds>", "NICKNAME <text>" and "FAIL <what>". The exit code is 0 when the
// mode's end was reached without a failure.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/ingame/MultiplayerInGameHUD.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/menus/ZUIMultiplayerPanelEx.h"
#include "app/online/CocosMultiplayerInGameScene.h"
#include "app/online/MultiplayerInGameScene.h"
#include "app/online/OnlineSession.h"
#include "app/start/AppDelegate.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/Director.h"
#include "engine/DrawList.h"
#include "engine/FileUtils.h"
#include "engine/GLView.h"
#include "engine/Label.h"
#include "engine/RefPtr.h"
#include "engine/Transition.h"
#include "engine/ui/UITextField.h"
#include "online/game/NetworkedZarnClient.h"
#include "online/lobby/LobbyAddress.h"
#include "presentation/hud/PlayerMarkersHUD2D.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "rooms/support/StepRunner.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/state/GameState.h"
#include "tools/SolutionScript.h"

using namespace cocos2d;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

struct Options {
    std::string lobbyHost = "127.0.0.1";
    u16 lobbyPort = 0;
    std::string dir;
    std::optional<std::string> name;
    std::set<std::string> others;
    bool checkNames = false;
    double deadlineSeconds = 120.0;
    std::string mode;
    int rooms = 1;
};

void say(const std::string& line) {
    std::cout << line << std::endl;
}

std::vector<std::string> split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, by))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::optional<Options> parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--lobby") {
            const std::vector<std::string> parts = split(value(), ':');
            if (parts.size() != 2) return std::nullopt;
            o.lobbyHost = parts[0];
            o.lobbyPort = static_cast<u16>(std::stoi(parts[1]));
        } else if (a == "--dir") {
            o.dir = value();
        } else if (a == "--name") {
            o.name = value();
        } else if (a == "--others") {
            for (const std::string& n : split(value(), ',')) o.others.insert(n);
        } else if (a == "--check-names") {
            o.checkNames = true;
        } else if (a == "--deadline") {
            o.deadlineSeconds = std::stod(value());
        } else if (o.mode.empty()) {
            o.mode = a;
            if (a == "play") o.rooms = std::stoi(value());
        } else {
            return std::nullopt;
        }
    }
    if (o.dir.empty() || o.mode.empty()) return std::nullopt;
    return o;
}

bool drawn(const std::string& text) {
    for (const DrawCommand& c : Director::getInstance()->getDrawList().commands) {
        if (c.glyphs == nullptr) continue;
        std::string utf8;
        for (char32_t ch : c.glyphs->text) utf8 += ch < 0x80 ? static_cast<char>(ch) : '?';
        if (utf8 == text) return true;
    }
    return false;
}

// The notice the main menu shows, or "-".
std::string shownNotice() {
    for (const char* notice :
         {MultiplayerInGameScene::kServerLostNotice, MultiplayerInGameScene::kConnectFailedNotice,
          MultiplayerInGameScene::kFailureNotice})
        if (drawn(notice)) return notice;
    return "-";
}

Zarn::Solution solutionOf(const std::string& mapName) {
    const std::string room = mapName.substr(0, mapName.rfind('.'));
    std::ifstream in(std::string(ZARN_ROOM_SOURCES) + "/" + room + ".solution", std::ios::binary);
    return Zarn::parseSolution(std::string(std::istreambuf_iterator<char>(in), {}));
}

// Drives the game through the frames: one step of the mode before each frame.
class Player {
public:
    explicit Player(Options options) : o_(std::move(options)) {}

    // True when the mode reached its end; `failed` says whether anything went wrong on the way.
    bool step();
    bool failed() const { return failed_; }

private:
    enum class Stage { menu, page, joining, room, leaving, done };

    void fail(const std::string& what) {
        if (!failed_) say("FAIL " + what);
        failed_ = true;
    }
    ZUIMainMenuLayer* menuLayer() const {
        auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
        return menu != nullptr ? menu->getLayer() : nullptr;
    }
    bool onMenu();
    bool onPage();
    bool inRoom();
    bool afterRoom();
    void checkNames();
    void playSolution();

    Options o_;
    Stage stage_ = Stage::menu;
    int frames_ = 0;
    bool failed_ = false;
    int roomsDone_ = 0;
    int namesChecked_ = 0;
    std::chrono::steady_clock::time_point joinedAt_;
    RefPtr<MultiplayerInGameScene> game_;
    std::unique_ptr<zarn_test::StepRunner> runner_;
    bool met_ = false;
};

bool Player::step() {
    ++frames_;
    switch (stage_) {
        case Stage::menu:
            return onMenu();
        case Stage::page:
            return onPage();
        case Stage::joining:
        case Stage::room:
            return inRoom();
        case Stage::leaving:
            return afterRoom();
        case Stage::done:
            return true;
    }
    return true;
}

bool Player::onMenu() {
    ZUIMainMenuLayer* layer = menuLayer();
    if (layer == nullptr) return false;
    if (layer->splash != nullptr) {
        layer->dismissSplash();
        frames_ = 0;
        return false;
    }
    // The menu settles before the page is opened.
    if (frames_ < 60) return false;
    layer->showMultiplayerPanel();
    ZUIMultiplayerPanelEx* panel = layer->multiplayerPanel;
    if (panel == nullptr) {
        fail("no multiplayer page");
        return true;
    }
    if (o_.mode == "nickname") {
        say("NICKNAME " + panel->nicknameField->getString());
        if (o_.name) panel->nicknameField->setString(*o_.name);
        layer->returnToMenu();
        stage_ = Stage::done;
        return false;
    }
    if (roomsDone_ > 0 && o_.name && panel->nicknameField->getString() != *o_.name)
        fail("the page shows the nickname \"" + panel->nicknameField->getString() + "\"");
    if (o_.name) panel->nicknameField->setString(*o_.name);
    stage_ = Stage::page;
    frames_ = 0;
    return false;
}

bool Player::onPage() {
    ZUIMainMenuLayer* layer = menuLayer();
    ZUIMultiplayerPanelEx* panel = layer != nullptr ? layer->multiplayerPanel : nullptr;
    if (panel == nullptr) {
        fail("the multiplayer page went");
        return true;
    }
    if (joinedAt_ == std::chrono::steady_clock::time_point{}) {
        if (!panel->coopButton->isEnabled()) return false;
        panel->coopButton->onClick();
        joinedAt_ = std::chrono::steady_clock::now();
        if (o_.mode != "unanswered") stage_ = Stage::joining;
        return false;
    }
    // unanswered: the notice, then the buttons again.
    const std::string& status = panel->statusLabel->getString();
    if (status.find(OnlineSession::kNoAnswerNotice) != std::string::npos && panel->coopButton->isEnabled()) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - joinedAt_).count();
        char text[64];
        std::snprintf(text, sizeof text, "PAGE BACK %.2f", seconds);
        say(text);
        return true;
    }
    return false;
}

bool Player::inRoom() {
    Scene* running = Director::getInstance()->getRunningScene();
    if (stage_ == Stage::joining) {
        auto* game = dynamic_cast<MultiplayerInGameScene*>(running);
        if (game == nullptr) return false;
        game_ = game;
        Zarn::ZarnClientInterface& client = *game->getClient();
        const u32 self = client.getLocalClientID();
        const u8 number = client.getPlayerInfoManager().getInfo(self).number;
        say("ROOM " + game->getMapName() + " " + std::to_string(self) + " " + std::to_string(number));
        if (o_.mode == "play") {
            const Zarn::Solution solution = solutionOf(game->getMapName());
            if (number >= solution.players.size()) {
                fail("no solution for player " + std::to_string(number));
                return true;
            }
            runner_ = std::make_unique<zarn_test::StepRunner>(solution.players[number],
                                                              client.getGameMap().grid.getCellSize());
        }
        met_ = false;
        stage_ = Stage::room;
    }
    if (game_->isFinished()) {
        stage_ = Stage::leaving;
        frames_ = 0;
        return false;
    }
    if (running != game_.get()) return false;
    checkNames();
    if (runner_) playSolution();
    return false;
}

void Player::checkNames() {
    Zarn::ZarnClientInterface& client = *game_->getClient();
    const u32 self = client.getLocalClientID();
    std::size_t others = 0;
    for (const auto& [id, info] : client.getPlayerInfoManager().all())
        if (id != self && client.getSteerableUnitManager().hasClient(id)) ++others;
    if (!met_ && others == o_.others.size()) {
        met_ = true;
        say("MET");
    }
    if (!o_.checkNames) return;
    CocosMultiplayerInGameScene* scene = game_->getInGameScene();
    for (const auto& [id, info] : client.getPlayerInfoManager().all()) {
        const Label* badge = scene->getHUD()->getBadgeName(id);
        if (badge == nullptr) continue;
        const std::string shown = badge->getString();
        const bool right = id == self ? o_.name && shown == *o_.name : o_.others.count(shown) != 0;
        if (!right) fail("player " + std::to_string(id) + " shows as \"" + shown + "\" under its badge");
        if (Node* tag = scene->getSteerableVisuals().findNameTag(id)) {
            for (Node* child : tag->getChildren())
                if (auto* label = dynamic_cast<Label*>(child); label && label->getString() != shown)
                    fail("player " + std::to_string(id) + "'s tag says \"" + label->getString() +
                         "\", its badge \"" + shown + "\"");
        } else if (scene->getSteerableVisuals().hasVisual(id)) {
            fail("player " + std::to_string(id) + " has no name tag");
        }
        if (id != self && client.getSteerableUnitManager().hasClient(id) &&
            scene->getMarkers()->getMarker(id) == nullptr)
            fail("player " + std::to_string(id) + " has no off-screen marker");
    }
    const MultiplayerInGameHUD& hud = *scene->getHUD();
    const std::string instance = "Instance #" + std::to_string(client.getCore().gameInstance().instanceID);
    if (hud.getInstanceLabel()->getString() != instance)
        fail("the display says \"" + hud.getInstanceLabel()->getString() + "\" in " + instance);
    const std::string count = playerCountText(static_cast<u32>(hud.getBadges().size()));
    if (hud.getPlayerCountLabel()->getString() != count)
        fail("the display says \"" + hud.getPlayerCountLabel()->getString() + "\" over " +
             std::to_string(hud.getBadges().size()) + " badges");
    if (scene->getMarkers()->getMarkerCount() > hud.getBadges().size())
        fail(std::to_string(scene->getMarkers()->getMarkerCount()) + " off-screen markers for " +
             std::to_string(hud.getBadges().size()) + " players");
    ++namesChecked_;
}

void Player::playSolution() {
    Zarn::ZarnClientInterface& client = *game_->getClient();
    const u32 self = client.getLocalClientID();
    const auto& states = client.getCore().stateBuffer().states();
    if (states.empty()) return;
    const Zarn::GameState& newest = states.rbegin()->second;
    const Zarn::ClientState* unit = newest.findClient(self);
    if (unit == nullptr) return;
    if (auto input = runner_->next(newest.tick, unit->position, unit->mainState)) {
        client.getInputManager().pushInput(self, *input);
        client.setNextLocalCommand(Zarn::LocalCommandId::input);
    }
}

bool Player::afterRoom() {
    // The main menu counts from the moment it comes in (its transition
    // starts), with the notice it was given drawn from that frame on.
    Scene* running = Director::getInstance()->getRunningScene();
    if (auto* transition = dynamic_cast<TransitionScene*>(running)) running = transition->getInScene();
    if (dynamic_cast<ZUIMainMenuScene*>(running) == nullptr) return false;
    const std::string notice = shownNotice();
    const std::string map = game_->getMapName();
    const bool over = game_->getClient()->getCore().exiter().fired;
    game_ = nullptr;
    runner_.reset();
    if (o_.mode == "hold") {
        say("MENU " + notice);
        return true;
    }
    if (!over || notice != "-") {
        say("MENU " + notice);
        fail("left " + map + " before its end");
        return true;
    }
    say("FINISHED " + map);
    say("NAMES " + std::to_string(namesChecked_));
    if (++roomsDone_ >= o_.rooms) return true;
    stage_ = Stage::menu;
    joinedAt_ = {};
    frames_ = 0;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::cerr << "usage: zarn-coop-player --lobby HOST:PORT --dir DIR [--name NAME] [--others A,B] "
                     "[--check-names] [--deadline S] play N|hold|unanswered|nickname\n";
        return 2;
    }
    FileUtils::getInstance()->setWritablePath(options->dir + "/");
    FileUtils::getInstance()->addSearchPath(std::string(ZARN_ASSETS_DIR) + "/");
    Director* director = Director::getInstance();
    director->setOpenGLView(GLView::create("coop player", Rect(0, 0, 1024, 576)));
    OnlineSession::instance().lobbyAddress = [host = options->lobbyHost, port = options->lobbyPort] {
        return ZarnLobby::LobbyAddress{host, port};
    };
    int code = 1;
    {
        AppDelegate app;
        app.applicationDidFinishLaunching();
        Player player(*options);
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(static_cast<long>(options->deadlineSeconds * 1000));
        auto next = std::chrono::steady_clock::now();
        bool done = false;
        while (!done && std::chrono::steady_clock::now() < deadline) {
            done = player.step();
            director->mainLoop(kFrame);
            next += std::chrono::microseconds(16667);
            const auto now = std::chrono::steady_clock::now();
            if (next > now) {
                std::this_thread::sleep_until(next);
            } else {
                next = now;
            }
        }
        // What the last step left to the frames (a page leaving) runs.
        for (int i = 0; i < 30; ++i) director->mainLoop(kFrame);
        if (!done) say("FAIL the deadline passed");
        code = done && !player.failed() ? 0 : 1;
        OnlineSession::instance().reset();
        director->reset();
    }
    return code;
}
