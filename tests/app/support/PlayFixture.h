#pragma once

// A story level on the headless engine through the real single-play host:
// the game's maps and fonts from the build's assets, a positional audio
// engine, and a manual server clock that moves 30 ms a frame, stepped in
// lockstep with the in-process server (each frame waits until the server
// has answered the frame's tick). Header-only.

#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "AppFixture.h"
#include "app/play/CocosPlayTestScene.h"
#include "app/play/PlayTestSceneNode.h"
#include "foundation/Stopwatch.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/mediators/MediatedSprite.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/progress/SinglePlayerData.h"
#include "tools/SolutionScript.h"
#include "world/triggers/DialogWindow.h"
#include "world/units/SteerableUnitManager.h"

namespace zarn_test {

class PlayFixture : public AppFixture {
protected:
    static constexpr float kTick = 0.03f;

    void SetUp() override {
        AppFixture::SetUp();
        cocos2d::FileUtils::getInstance()->addSearchPath(std::string(ZARN_ASSETS_DIR) + "/", false);
        PositionAudioEngine::setInstance(
            std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(512.0f, 288.0f), 750.0f));
    }
    void TearDown() override {
        AppFixture::TearDown();
        PositionAudioEngine::destroyInstance();
    }

    static Zarn::LevelEntry level(const std::string& name) {
        Zarn::LevelEntry e;
        e.mapName = name;
        e.deathSilverGoal = 2;
        e.deathBronzeGoal = 4;
        e.timeGoldGoal = 10000;
        e.timeSilverGoal = 15000;
        e.timeBronzeGoal = 30000;
        e.timeAttackLimit = 30000;
        return e;
    }

    // Starts the progress's current level as the running scene.
    PlayTestSceneNode* start(Zarn::SinglePlayerData* progress, const Zarn::LevelList& levels) {
        const std::string map = levels[progress != nullptr ? progress->currentLevel : 0].mapName + ".map";
        PlayTestSceneNode* h = PlayTestSceneNode::create(map, progress, levels, clock);
        if (h != nullptr) run(h);
        return h;
    }

    static PlayTestSceneNode* host() {
        return dynamic_cast<PlayTestSceneNode*>(cocos2d::Director::getInstance()->getRunningScene());
    }
    static u32 newestTick(PlayTestSceneNode* h) {
        const auto& states = h->getClient().getCore().stateBuffer().states();
        return states.empty() ? 0 : states.rbegin()->first;
    }
    // One frame in lockstep with the server. False when the server did not
    // answer in time.
    bool step() {
        PlayTestSceneNode* h = host();
        const u32 before = h != nullptr ? newestTick(h) : 0;
        clock.advanceMs(30);
        frame(kTick);
        if (h == nullptr || host() != h || h->getResultPanel() != nullptr || h->getInGameScene()->hasFailed())
            return true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (newestTick(h) <= before && h->getResultPanel() == nullptr) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::yield();
            h->getClient().update(0.0f);
        }
        return true;
    }
    // Steps until done() holds; false when it did not within the frames.
    bool stepUntil(const std::function<bool()>& done, int frames) {
        for (int i = 0; i < frames; ++i) {
            if (!step()) return false;
            if (done()) return true;
        }
        return false;
    }

    // The level's opening dialog typed out and dismissed with the continue
    // key; until then a click in its box turns its page instead of walking.
    bool dismissDialog(PlayTestSceneNode* h) {
        Zarn::DialogWindow* dialog = h->getInGameScene()->getDialogWindow();
        if (dialog == nullptr) return true;
        if (!stepUntil([&] { return dialog->isShown() != 0 && !dialog->isOpening() && !dialog->isTyping(); },
                       600))
            return false;
        pressKey(cocos2d::EventKeyboard::KeyCode::KEY_J);
        return stepUntil([&] { return dialog->isShown() == 0; }, 100);
    }

    // The local player's unit as the client shows it.
    static Zarn::SteerableUnit& player() { return host()->getClient().getSteerableUnitManager().getUnit(0); }
    static GeometryLib::FPoint position() { return player().body().position; }
    static float cellSize() {
        return static_cast<float>(host()->getClient().getGameMap().grid.getCellSize());
    }
    // The design point where the centre of a room cell is drawn.
    static cocos2d::Vec2 cellOnScreen(float x, float y) {
        const float c = cellSize();
        return host()->getInGameScene()->getWorldSprite()->convertToWorldSpace(
            cocos2d::Vec2((x + 0.5f) * c, (y + 0.5f) * c));
    }
    static bool near(const GeometryLib::FPoint& p, float x, float y, float within) {
        const float c = cellSize();
        return std::hypot(p.x - (x + 0.5f) * c, p.y - (y + 0.5f) * c) < within;
    }
    // Clicks a cell and steps until the player stands on it.
    bool walkTo(float x, float y) {
        click(cellOnScreen(x, y));
        return stepUntil([&] { return near(position(), x, y, 6.0f); }, 600);
    }
    // Plays the room's recorded solution (assets/maps/ROOM.solution, player
    // 0) as a player would: a click on each cell to walk to, the continue
    // key to dismiss, frames to wait; then steps until the level's result
    // panel shows. False, with the step that failed, when the level did not
    // end that way.
    ::testing::AssertionResult playSolution(const std::string& room) {
        std::ifstream in(std::string(ZARN_SOURCE_DIR) + "/assets/maps/" + room + ".solution");
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const Zarn::Solution solution = Zarn::parseSolution(text);
        if (solution.players.empty()) return ::testing::AssertionFailure() << room << " has no solution";
        PlayTestSceneNode* h = host();
        const auto over = [&] { return host() != h || h->getResultPanel() != nullptr; };
        const auto ticks = [](float seconds) { return static_cast<u32>(std::lround(seconds / kTick)); };
        for (const Zarn::SolutionStep& s : solution.players.front()) {
            bool done = true;
            const u32 begun = newestTick(h);
            switch (s.kind) {
                case Zarn::SolutionStep::Kind::go:
                    click(cellOnScreen(s.x, s.y));
                    done = step();
                    break;
                case Zarn::SolutionStep::Kind::move:
                    click(cellOnScreen(s.x, s.y));
                    done = stepUntil([&] { return over() || near(position(), s.x, s.y, 3.0f); }, 600);
                    break;
                case Zarn::SolutionStep::Kind::reach:
                    done = stepUntil(
                        [&] {
                            if (over()) return true;
                            const GeometryLib::FPoint p = position();
                            return std::floor(p.x / cellSize()) == std::floor(s.x) &&
                                   std::floor(p.y / cellSize()) == std::floor(s.y);
                        },
                        600);
                    break;
                case Zarn::SolutionStep::Kind::wait:
                    done =
                        stepUntil([&] { return over() || newestTick(h) >= begun + ticks(s.seconds); }, 2000);
                    break;
                case Zarn::SolutionStep::Kind::until:
                    done = newestTick(h) >= ticks(s.seconds) ||
                           stepUntil([&] { return over() || newestTick(h) >= ticks(s.seconds); }, 2000);
                    break;
                case Zarn::SolutionStep::Kind::dismiss:
                    pressKey(cocos2d::EventKeyboard::KeyCode::KEY_J);
                    done = step();
                    break;
            }
            if (!done) return ::testing::AssertionFailure() << room << ": line " << s.line << " not done";
            if (over()) break;
        }
        if (host() == h && h->getResultPanel() == nullptr &&
            !stepUntil([&] { return h->getResultPanel() != nullptr; }, 600))
            return ::testing::AssertionFailure() << room << ": the level did not end";
        return ::testing::AssertionSuccess();
    }

    static bool textDrawn(const std::u32string& text) {
        for (const cocos2d::DrawCommand& c : cocos2d::Director::getInstance()->getDrawList().commands)
            if (c.glyphs != nullptr && c.glyphs->text == text) return true;
        return false;
    }

    Convinience::ManualTickClock clock;
};

}  // namespace zarn_test
