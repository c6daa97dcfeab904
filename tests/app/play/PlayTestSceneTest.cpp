#include <gtest/gtest.h>

#include <tuple>

#include "../support/PlayFixture.h"
#include "app/menus/ZUICreditsScene.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/story/MedalRules.h"
#include "app/story/ZUIMedalResult.h"
#include "app/widgets/ZUICoreButton.h"
#include "presentation/effects/ClickCursor.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "simulation/managers/InputManager.h"
#include "world/triggers/DialogWindow.h"

namespace {

using cocos2d::EventKeyboard;
using zarn_test::PlayFixture;

// Two of the game's own rooms as a two-level story: the room with holes
// (spawn on cell (1, 3), exit on (11, 3), a hole on (4, 3)) and the room
// with walls.
class PlayTestScene : public PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        levels = {level("DEMO_EmptyRoomWithHoles"), level("DEMO_EmptyRoomWithWalls")};
        progress.setLevelCount(2);
        progress.enableMode(Zarn::playMode::deaths);
        progress.enableMode(Zarn::playMode::timer);
    }

    void key(EventKeyboard::KeyCode code, bool down) { view->handleKey(static_cast<int>(code), down); }

    Zarn::LevelList levels;
    Zarn::SinglePlayerData progress;
};

TEST_F(PlayTestScene, KeysAndClicksDeathRespawnExitMedalsAndNextLevel) {
    PlayTestSceneNode* first = start(&progress, levels);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(step());
    EXPECT_EQ(first->getInGameScene()->getKeeperKinds(), (std::vector<u8>{0, 1}));
    ASSERT_NE(first->getInGameScene()->getHUD(), nullptr);
    EXPECT_TRUE(textDrawn(U"x 0"));
    ASSERT_TRUE(near(position(), 1, 5, 6.0f));

    // The level opens with its dialog: typed out letter by letter, then
    // dismissed by the continue key (released), which the server confirms.
    Zarn::DialogWindow* dialog = first->getInGameScene()->getDialogWindow();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(stepUntil([&] { return dialog->isShown() != 0 && dialog->isTyping(); }, 200));
    ASSERT_TRUE(stepUntil([&] { return !dialog->isOpening() && !dialog->isTyping(); }, 400));
    key(EventKeyboard::KeyCode::KEY_J, true);
    key(EventKeyboard::KeyCode::KEY_J, false);
    ASSERT_TRUE(stepUntil([&] { return dialog->isShown() == 0; }, 100));

    // The arrow keys become the local player's inputs for the simulation
    // (kinds 8 and 9: right pressed and released).
    std::vector<u8> kinds;
    const auto queued = [&] {
        first->getClient().getInputManager().forEachClient([&](u32, Zarn::InputManager::InputList& list) {
            for (const Zarn::InputData& d : list) kinds.push_back(d.kind);
        });
    };
    key(EventKeyboard::KeyCode::KEY_RIGHT_ARROW, true);
    queued();
    ASSERT_TRUE(step());
    key(EventKeyboard::KeyCode::KEY_RIGHT_ARROW, false);
    queued();
    ASSERT_TRUE(step());
    EXPECT_EQ(kinds, (std::vector<u8>{8, 9}));

    // A click into the hole on (4, 5) leaves the rat standing; held to the
    // right, it runs in and dies.
    click(cellOnScreen(4, 5));
    EXPECT_FALSE(stepUntil([] { return Zarn::isDeathState(player().state); }, 100));
    key(EventKeyboard::KeyCode::KEY_RIGHT_ARROW, true);
    ASSERT_TRUE(stepUntil([] { return Zarn::isDeathState(player().state); }, 300));
    key(EventKeyboard::KeyCode::KEY_RIGHT_ARROW, false);
    // Back on the spawn cell, alive, and the display counts the death.
    ASSERT_TRUE(stepUntil([] { return player().state == 0 && near(position(), 1, 5, 6.0f); }, 600));
    ASSERT_TRUE(stepUntil([] { return textDrawn(U"x 1"); }, 100));

    // A click on the room walks there and shows the click cursor.
    click(cellOnScreen(3, 5));
    step();
    int cursors = 0;
    for (cocos2d::Node* child : first->getInGameScene()->getWorldSprite()->getChildren())
        cursors += dynamic_cast<ClickCursor*>(child) != nullptr;
    EXPECT_EQ(cursors, 1);
    ASSERT_TRUE(stepUntil([] { return near(position(), 3, 5, 6.0f); }, 600));

    // The recorded way round the holes to the exit.
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{{3, 3}, {2, 3}, {2, 1}})
        ASSERT_TRUE(walkTo(x, y)) << "on the way to " << x << ", " << y;
    click(cellOnScreen(9, 1));
    ASSERT_TRUE(stepUntil([&] { return first->getResultPanel() != nullptr; }, 600));

    // One death is silver; the time is the timer's.
    const Zarn::LevelScore score = first->getClient().getScoreKeeperRegistry().scores[0];
    EXPECT_EQ(score.deaths, 1u);
    EXPECT_GT(score.time, 0u);
    const Zarn::Medal timeMedal = score.time <= 10000   ? Zarn::Medal::Gold
                                  : score.time <= 15000 ? Zarn::Medal::Silver
                                  : score.time <= 30000 ? Zarn::Medal::Bronze
                                                        : Zarn::Medal::None;
    ZUIMedalResult* panel = first->getResultPanel();
    ASSERT_NE(panel, nullptr);
    // The rows the panel was given: deaths and time, in the order of the modes.
    const std::vector<Zarn::ScoreResult> rows =
        Zarn::ScoreKeeperSummary{0, first->getInGameScene()->getKeeperKinds()}.describeAll(score, levels);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (Zarn::ScoreResult{0, Zarn::Medal::Silver, "1"}));
    EXPECT_EQ(rows[1], (Zarn::ScoreResult{1, timeMedal, Zarn::timeToString(score.time)}));
    // After its slide and reveal the panel shows those medals.
    frames(80, kTick);
    const cocos2d::DrawList& drawn = cocos2d::Director::getInstance()->getDrawList();
    EXPECT_FALSE(drawn.findByFrame(deathMedalIconTable[static_cast<u8>(Zarn::Medal::Silver)]).empty());
    EXPECT_FALSE(drawn.findByFrame(timerMedalIconTable[static_cast<u8>(timeMedal)]).empty());
    // The progress took the level's result and moved on.
    EXPECT_EQ(progress.getLevelStatus(0).fewestDeaths, 1u);

    // Next: the second level's host, after the fade.
    panel->getNextButton()->callback();
    ASSERT_TRUE(stepUntil([&] { return host() != nullptr && host() != first; }, 100));
    PlayTestSceneNode* second = host();
    EXPECT_EQ(second->getInGameScene()->getMapName(), "DEMO_EmptyRoomWithWalls.map");
    EXPECT_EQ(progress.currentLevel, 1u);
    ASSERT_TRUE(step());

    // Releasing R restarts the level (pressing alone does nothing).
    key(EventKeyboard::KeyCode::KEY_R, true);
    step();
    EXPECT_EQ(host(), second);
    key(EventKeyboard::KeyCode::KEY_R, false);
    ASSERT_TRUE(stepUntil([&] { return host() != nullptr && host() != second; }, 100));
    PlayTestSceneNode* again = host();
    EXPECT_EQ(again->getInGameScene()->getMapName(), "DEMO_EmptyRoomWithWalls.map");

    // The result panel's retry restarts the level too.
    ASSERT_TRUE(step());
    again->onLevelFinished();
    ASSERT_NE(again->getResultPanel(), nullptr);
    again->getResultPanel()->getRetryButton()->callback();
    ASSERT_TRUE(stepUntil([&] { return host() != nullptr && host() != again; }, 100));
    EXPECT_EQ(host()->getInGameScene()->getMapName(), "DEMO_EmptyRoomWithWalls.map");
}

// The arrow keys walk the rat: its sprite moves in the draw list while a key
// is held, the wall above the spawn stops it, and it stands once let go. The
// room with walls, second in this story.
TEST_F(PlayTestScene, ArrowKeysWalkThePlayerUntilAWallAndStopWhenReleased) {
    using K = EventKeyboard::KeyCode;
    progress.selectLevel(1);
    progress.currentLevel = 1;
    PlayTestSceneNode* h = start(&progress, levels);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(step());
    ASSERT_TRUE(near(position(), 1, 1, 6.0f));
    CocosPlayTestScene* scene = h->getInGameScene();
    SteerableCocos2D* rat = scene->getSteerableVisuals().find2D(0);
    ASSERT_NE(rat, nullptr);
    // Where the draw list puts the rat's sprite (its anchor, the feet), in
    // room units.
    const auto drawn = [&] {
        const auto found = cocos2d::Director::getInstance()->getDrawList().findByNode(rat);
        if (found.empty()) return cocos2d::Vec2(-1000.0f, -1000.0f);
        const cocos2d::Vec2 onScreen = found[0]->transform.transformPoint(rat->getAnchorPointInPoints());
        return scene->getWorldSprite()->convertToNodeSpace(onScreen);
    };
    const cocos2d::Vec2 atSpawn = drawn();
    ASSERT_GT(atSpawn.x, 0.0f) << "the rat is drawn";
    const float c = cellSize();

    // Up from (1, 1): rows 2 and 3 are free, row 4 is the wall.
    key(K::KEY_UP_ARROW, true);
    ASSERT_TRUE(stepUntil([&] { return drawn().y > atSpawn.y + c / 2.0f; }, 100));
    EXPECT_NEAR(drawn().x, atSpawn.x, 1.0f) << "straight up";
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(step());
    EXPECT_GT(position().y, 3.0f * c) << "it reached row 3";
    EXPECT_LT(position().y, 4.0f * c) << "and not the wall";
    const cocos2d::Vec2 atWall = drawn();
    EXPECT_NEAR(atWall.y, position().y, 0.5f);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(step());
    EXPECT_LT(drawn().distance(atWall), 0.01f) << "held against the wall, it stands";

    // Right along row 3 for a moment, then let go: it stands.
    key(K::KEY_UP_ARROW, false);
    key(K::KEY_D, true);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(step());
    key(K::KEY_D, false);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(step());
    const cocos2d::Vec2 released = drawn();
    EXPECT_GT(released.x, atWall.x + 10.0f);
    EXPECT_NEAR(released.y, atWall.y, 1.0f);
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(step());
    EXPECT_LT(drawn().distance(released), 0.01f);
    EXPECT_EQ(player().body().velocity, GeometryLib::FPoint(0.0f, 0.0f));
}

TEST_F(PlayTestScene, PlayTestBuildsNoDisplayAndEndsInTheCredits) {
    PlayTestSceneNode* h = PlayTestSceneNode::create("DEMO_EmptyRoomWithWalls.map", nullptr, levels, clock);
    ASSERT_NE(h, nullptr);
    run(h);
    ASSERT_TRUE(step());
    EXPECT_EQ(h->getInGameScene()->getHUD(), nullptr);
    EXPECT_TRUE(h->getInGameScene()->getKeeperKinds().empty());
    h->onLevelFinished();
    frames(100, kTick);
    EXPECT_NE(dynamic_cast<ZUICreditsScene*>(cocos2d::Director::getInstance()->getRunningScene()), nullptr);
}

TEST_F(PlayTestScene, ProgressWithoutModesBuildsNoDisplay) {
    Zarn::SinglePlayerData plain;
    plain.setLevelCount(2);
    PlayTestSceneNode* h = start(&plain, levels);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->getInGameScene()->getHUD(), nullptr);
    EXPECT_TRUE(h->getInGameScene()->getKeeperKinds().empty());
}

TEST_F(PlayTestScene, MissingOrDamagedMapNeverReachesAScene) {
    run(cocos2d::Scene::create());
    cocos2d::Scene* before = cocos2d::Director::getInstance()->getRunningScene();
    EXPECT_EQ(PlayTestSceneNode::create("NoSuchRoom.map", &progress, levels, clock), nullptr);
    EXPECT_FALSE(PlayTestSceneNode::startLevel("NoSuchRoom.map", &progress, levels, 0.5f, -1, clock));
    frames(3, kTick);
    EXPECT_EQ(cocos2d::Director::getInstance()->getRunningScene(), before);
    EXPECT_TRUE(textDrawn(U"This level could not be loaded."));
}

TEST_F(PlayTestScene, AFrameThatThrowsEndsTheLevelInTheMenu) {
    PlayTestSceneNode* h = start(&progress, levels);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(step());
    // Without its positional audio engine the frame's visual update throws.
    // The frame's failure is caught, the menu replaces the level in that
    // frame and leaving does not fail again.
    PositionAudioEngine::destroyInstance();
    frame(kTick);
    PositionAudioEngine::setInstance(
        std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(512.0f, 288.0f), 750.0f));
    frames(3, kTick);
    EXPECT_NE(dynamic_cast<ZUIMainMenuScene*>(cocos2d::Director::getInstance()->getRunningScene()), nullptr);
    EXPECT_TRUE(textDrawn(U"The level stopped after an error."));
}

TEST(KeyInputKind, KeysAndTheirKinds) {
    using K = EventKeyboard::KeyCode;
    const std::tuple<K, u8, u8> cases[] = {
        {K::KEY_LEFT_ARROW, 10, 11},
        {K::KEY_A, 10, 11},
        {K::KEY_RIGHT_ARROW, 8, 9},
        {K::KEY_D, 8, 9},
        {K::KEY_UP_ARROW, 4, 5},
        {K::KEY_W, 4, 5},
        {K::KEY_DOWN_ARROW, 6, 7},
        {K::KEY_S, 6, 7},
        {K::KEY_SPACE, 0, 12},
        {K::KEY_J, 0, 12},
        {K::KEY_ENTER, 0, 12},
        {K::KEY_ESCAPE, 0, 0},
        {K::KEY_R, 0, 0},
        {K::KEY_Q, 0, 0},
    };
    for (const auto& [key, pressed, released] : cases) {
        EXPECT_EQ(keyInputKind(key, true), pressed) << static_cast<int>(key);
        EXPECT_EQ(keyInputKind(key, false), released) << static_cast<int>(key);
    }
}

struct RouteCase {
    u32 level;
    u32 count;
    NextLevelRoute route;
};

TEST(NextLevelRoute, ByLevelAndListSize) {
    const RouteCase cases[] = {
        {10, 40, NextLevelRoute::playNext},        {34, 40, NextLevelRoute::bonusChallenges},
        {39, 40, NextLevelRoute::endOfLevels},     {35, 40, NextLevelRoute::playNext},
        {26, 32, NextLevelRoute::bonusChallenges}, {31, 32, NextLevelRoute::endOfLevels},
        {0, 1, NextLevelRoute::endOfLevels},
    };
    for (const RouteCase& c : cases)
        EXPECT_EQ(nextLevelRoute(c.level, c.count), c.route) << c.level << " of " << c.count;
}

}  // namespace
