#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "../support/PlayFixture.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/play/PlayTestSceneNode.h"
#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIElevatorButton.h"
#include "app/story/ZUIElevatorButtonsPanel.h"
#include "app/story/ZUIElevatorPanel.h"
#include "app/story/ZUIElevatorSideBar.h"
#include "app/story/ZUIMedalBar.h"
#include "app/story/ZUIMedalResult.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUIElevatorToggleButton.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "foundation/SaveFiles.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"

using namespace cocos2d;

namespace {

TEST(ElevatorTables, ColourBandsByFloor) {
    const std::pair<int, int> cases[] = {{0, 0},  {7, 0},  {8, 1},  {15, 1},  {16, 2},
                                         {26, 2}, {27, 3}, {31, 3}, {999, 3}, {1000, -1}};
    for (const auto& [floor, band] : cases) EXPECT_EQ(elevatorColourSetOf(floor), band) << floor;
    EXPECT_EQ(elevatorColourSets[3][0], Color3B(226, 71, 122));
    EXPECT_EQ(elevatorColourSets[1][1], Color3B(136, 173, 111));
    EXPECT_EQ(elevatorColourSets[2][7], Color3B(255, 255, 255));
}

TEST(ElevatorTables, ScrollPercentShowsTheEndsNearTheEnds) {
    const std::pair<float, float> cases[] = {{0, 100},  {99, 100}, {100, 90}, {500, 50},
                                             {900, 10}, {901, 0},  {1000, 0}};
    for (const auto& [y, percent] : cases) EXPECT_FLOAT_EQ(elevatorScrollPercent(y, 1000), percent) << y;
}

TEST(ElevatorTables, DecorationLinesReachFarEnoughFromEveryStart) {
    ASSERT_EQ(elevatorDecorationLines.size(), 2u);
    EXPECT_EQ(elevatorDecorationLines[0].size(), 41u);
    EXPECT_EQ(elevatorDecorationLines[1].size(), 45u);
    for (const auto& line : elevatorDecorationLines) {
        for (size_t i = 1; i < line.size(); ++i) EXPECT_GT(line[i].x, line[i - 1].x);
        for (size_t start = 0; start + 13 <= line.size(); ++start)
            EXPECT_GE(line.back().x - line[start].x, 2500.0f) << start;
    }
}

// The elevator over the game's progress record and a progress file in the
// test's writable folder; each test starts without the file.
class Elevator : public zarn_test::PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        removeFile();
        Zarn::singlePlayerProgress() = Zarn::SinglePlayerData();
    }
    void TearDown() override {
        PlayFixture::TearDown();
        removeFile();
        Zarn::singlePlayerProgress() = Zarn::SinglePlayerData();
    }
    static void removeFile() {
        std::filesystem::remove(Convinience::writablePath() + getSinglePlayerSaveFileName());
    }
    // A new program over the same folder: the record is forgotten, the
    // story scene reads the file again.
    ZUISinglePlayerScene* restart() {
        Zarn::singlePlayerProgress() = Zarn::SinglePlayerData();
        ZUISinglePlayerScene* scene = ZUISinglePlayerScene::create();
        if (Director::getInstance()->getRunningScene() == nullptr) {
            run(scene);
        } else {
            Director::getInstance()->replaceScene(scene);
            frame(0.0f);
        }
        return scene;
    }
    static ZUIElevatorButtonsPanel* floors(ZUISinglePlayerScene* scene) {
        return scene->getElevatorPanel()->getButtonsPanel();
    }
    static size_t drawn(const std::string& frame) {
        return Director::getInstance()->getDrawList().findByFrame(frame).size();
    }
    // A touch that begins and ends at one design point, without the mouse.
    void tap(const Vec2& design) {
        const Vec2 w = toWindow(design);
        const intptr_t id = 7;
        view->handleTouchesBegin(1, &id, &w.x, &w.y);
        view->handleTouchesEnd(1, &id, &w.x, &w.y);
    }
    static Zarn::SinglePlayerData progressWith(u32 levels) {
        Zarn::SinglePlayerData data;
        data.setLevelCount(levels);
        return data;
    }
};

TEST_F(Elevator, AFreshStartShowsThirtyTwoFloorsWithOnlyTheFirstOpen) {
    ZUISinglePlayerScene* scene = restart();
    ASSERT_TRUE(Convinience::saveFileExists(getSinglePlayerSaveFileName()));
    const auto& buttons = floors(scene)->getButtons();
    ASSERT_EQ(buttons.size(), 32u);
    for (const ZUIElevatorButton* b : buttons) {
        EXPECT_EQ(b->isEnabled(), b->getLevelIndex() == 0) << b->getLevelIndex();
        EXPECT_EQ(b->getLock()->isVisible(), b->getLevelIndex() != 0);
    }
    EXPECT_EQ(drawn("ele_button_circle.png"), 64u);  // circle and shadow of each floor
    EXPECT_EQ(drawn("ele_lock.png"), 31u + 3u);      // and the side bar's three locked modes
    EXPECT_TRUE(floors(scene)->getMedalBars().empty());
    EXPECT_EQ(buttons[0]->getOutline()->getColor(), Color3B::WHITE);  // floor 0 is the current one
    EXPECT_EQ(scene->getElevatorPanel()->getSideBar()->getFloorLabel()->getString(), "0");
    EXPECT_EQ(scene->getElevatorPanel()->getSideBar()->getContentSize().width, 450.0f);
    EXPECT_EQ(played().front(), "sound/ui/whoosh.mp3");
}

TEST_F(Elevator, FloorCornersAndRowsForFiveAndFourARow) {
    struct Case {
        unsigned perRow;
        int floor;
        Vec2 corner;
    };
    const Case cases[] = {{5, 0, {50, 250}},   {5, 1, {435, 300}},   {5, 4, {1590, 450}}, {5, 5, {200, 800}},
                          {5, 10, {50, 1350}}, {5, 31, {435, 3600}}, {4, 3, {1205, 400}}, {4, 4, {200, 750}},
                          {4, 8, {50, 1250}},  {4, 28, {200, 3750}}};
    for (unsigned perRow : {5u, 4u}) {
        Zarn::SinglePlayerData data = progressWith(32);
        ZUIElevatorButtonsPanel* panel = ZUIElevatorButtonsPanel::create(&data);
        panel->layoutButtons(perRow);
        ASSERT_EQ(panel->getButtons().size(), 32u);
        const Size size = panel->getButtons()[0]->getContentSize();
        for (const Case& c : cases) {
            if (c.perRow != perRow) continue;
            const Vec2 corner =
                panel->buttonOf(c.floor)->getPosition() - Vec2(size.width / 2, size.height / 2);
            EXPECT_EQ(corner, c.corner) << perRow << " a row, floor " << c.floor;
        }
        // 7 rows of 5 (the last holding 30 and 31), 8 full rows of 4: the top
        // of the last row's last floor.
        EXPECT_FLOAT_EQ(panel->getContentSize().height, (perRow == 5 ? 3650.0f : 3950.0f) + size.height);
        EXPECT_FLOAT_EQ(panel->getContentSize().width, perRow * size.width + (perRow - 1) * 385.0f + 200);
    }
}

TEST_F(Elevator, MedalBarsShowTheDeathMedalUntilTheStoryIsComplete) {
    Zarn::SinglePlayerData data = progressWith(32);
    data.levelStatuses[0].fewestDeaths = 2;  // silver
    data.levelStatuses[1].fewestDeaths = 5;  // nothing
    data.levelStatuses[2].fewestDeaths = 0;
    data.levelStatuses[2].bestTime = 10000;
    data.levelStatuses[2].timeAttackDone = 1;
    ZUIElevatorButtonsPanel* narrow = ZUIElevatorButtonsPanel::create(&data);
    narrow->layoutButtons(5);
    ASSERT_EQ(narrow->getMedalBars().size(), 2u);
    EXPECT_EQ(narrow->getMedalBars()[0]->getDeathMedal()->getSpriteFrame()->getName(),
              "medal_death_count_silver.png");
    EXPECT_EQ(narrow->getMedalBars()[0]->getTimerMedal(), nullptr);

    data.runComplete = 1;
    ZUIElevatorButtonsPanel* wide = ZUIElevatorButtonsPanel::create(&data);
    wide->layoutButtons(4);
    ASSERT_EQ(wide->getMedalBars().size(), 32u);
    const ZUIMedalBar* never = wide->getMedalBars()[5];
    EXPECT_EQ(never->getDeathMedal()->getSpriteFrame()->getName(), "medal_death_count_empty.png");
    EXPECT_EQ(never->getTimerMedal()->getSpriteFrame()->getName(), "medal_timer_empty.png");
    EXPECT_EQ(never->getTimeAttackMedal()->getSpriteFrame()->getName(), "medal_time_attack_empty.png");
    const ZUIMedalBar* best = wide->getMedalBars()[2];
    EXPECT_EQ(best->getDeathMedal()->getSpriteFrame()->getName(), "medal_death_count_gold.png");
    EXPECT_EQ(best->getTimerMedal()->getSpriteFrame()->getName(), "medal_timer_gold.png");
    EXPECT_EQ(best->getTimeAttackMedal()->getSpriteFrame()->getName(), "medal_time_attack_gold.png");
    // The timer medal sits right of the death medal and 20 higher; time attack left.
    EXPECT_GT(best->getTimerMedal()->getPositionX(), best->getDeathMedal()->getPositionX());
    EXPECT_LT(best->getTimeAttackMedal()->getPositionX(), best->getDeathMedal()->getPositionX());
    EXPECT_FLOAT_EQ(best->getTimerMedal()->getPositionY(), best->getDeathMedal()->getPositionY() + 20);
}

TEST_F(Elevator, ProgressSurvivesANewProgramOverTheSameFolder) {
    restart();
    Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    progress.levelStatuses[0].fewestDeaths = 1;
    progress.selectLevel(1);
    writeSinglePlayerProgress(progress);

    ZUISinglePlayerScene* scene = restart();
    const auto& buttons = floors(scene)->getButtons();
    ASSERT_EQ(buttons.size(), 32u);
    EXPECT_TRUE(buttons[0]->isEnabled());
    EXPECT_TRUE(buttons[1]->isEnabled());
    EXPECT_FALSE(buttons[2]->isEnabled());
    ASSERT_EQ(floors(scene)->getMedalBars().size(), 1u);
    EXPECT_EQ(floors(scene)->getMedalBars()[0]->getDeathMedal()->getSpriteFrame()->getName(),
              "medal_death_count_silver.png");
    EXPECT_EQ(buttons[1]->getOutline()->getColor(), Color3B::WHITE);
    EXPECT_EQ(scene->getElevatorPanel()->getSideBar()->getFloorLabel()->getString(), "1");
}

TEST_F(Elevator, AStoredFloorPastTheListHighlightsNothing) {
    Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    progress.setLevelCount(32);
    progress.furthestLevel = 40;
    ZUIElevatorPanel* panel = ZUIElevatorPanel::create();
    ASSERT_NE(panel, nullptr);
    for (const ZUIElevatorButton* b : panel->getButtonsPanel()->getButtons())
        EXPECT_NE(b->getOutline()->getColor(), Color3B::WHITE) << b->getLevelIndex();
}

TEST_F(Elevator, PressingTheOpenFloorStartsItsLevelThroughTheHost) {
    ZUISinglePlayerScene* scene = restart();
    ZUIElevatorButtonsPanel* panel = floors(scene);
    click(centreOf(panel->buttonOf(1)));  // locked: nothing
    EXPECT_FALSE(panel->isBusy());
    click(centreOf(panel->buttonOf(0)));
    EXPECT_TRUE(panel->isBusy());
    EXPECT_TRUE(panel->buttonOf(0)->getGlow()->isVisible());
    EXPECT_EQ(played().back(), "sound/elevator_panel/button_press.mp3");
    click(centreOf(panel->buttonOf(0)));  // a second press during the take-off does nothing
    frames(20, 0.05f);
    EXPECT_EQ(played().back(), "sound/elevator_panel/bell.mp3");  // the same floor again
    frames(40, 0.05f);
    frames(20, 0.05f);
    PlayTestSceneNode* level = host();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getInGameScene()->getMapName(), "DEMO_EmptyRoomWithWalls.map");
    EXPECT_EQ(Zarn::singlePlayerProgress().currentLevel, 0u);
    EXPECT_TRUE(Zarn::singlePlayerProgress().isModeActive(Zarn::playMode::deaths));
}

// Two clicks in one frame on an open floor choose it once; from then on, all
// through the take-off, no floor takes a press: none glows or beeps, and the
// level chosen first is the one that starts.
TEST_F(Elevator, AFloorActsOnceAndNoneTakesAPressDuringTheTakeOff) {
    Zarn::SinglePlayerData open = progressWith(32);
    open.selectLevel(2);
    writeSinglePlayerProgress(open);
    ZUISinglePlayerScene* scene = restart();
    ZUIElevatorButtonsPanel* panel = floors(scene);
    const auto beeps = [&] {
        const std::vector<std::string> all = played();
        return std::count(all.begin(), all.end(), std::string("sound/elevator_panel/button_press.mp3"));
    };
    click(centreOf(panel->buttonOf(1)));
    click(centreOf(panel->buttonOf(1)));
    EXPECT_EQ(beeps(), 1);
    EXPECT_TRUE(panel->buttonOf(1)->getGlow()->isVisible());
    for (const float seconds : {0.0f, 0.5f, 0.6f}) {  // standing, then flying up
        frames(static_cast<int>(seconds / 0.05f), 0.05f);
        click(centreOf(panel->buttonOf(2)));
        click(centreOf(panel->buttonOf(0)));
        click(centreOf(panel->buttonOf(1)));
        EXPECT_FALSE(panel->buttonOf(2)->getGlow()->isVisible()) << seconds;
        EXPECT_FALSE(panel->buttonOf(0)->getGlow()->isVisible()) << seconds;
        EXPECT_EQ(beeps(), 1) << seconds;
    }
    frames(60, 0.05f);
    PlayTestSceneNode* level = host();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getInGameScene()->getMapName(), "DEMO_EmptyRoomWithHoles.map");
    EXPECT_EQ(Zarn::singlePlayerProgress().currentLevel, 1u);
}

// Limited lives switched on during the take-off, with no lives left, starts
// the lives run again (its first floor); the floor chosen is still the one
// the record names when it starts.
TEST_F(Elevator, AModeSwitchedDuringTheTakeOffLeavesTheChosenFloorInTheRecord) {
    Zarn::SinglePlayerData done = progressWith(32);
    done.runComplete = 1;
    done.selectLevel(31);
    done.lives = 0;
    writeSinglePlayerProgress(done);
    ZUISinglePlayerScene* scene = restart();
    click(centreOf(floors(scene)->buttonOf(1)));
    frames(5, 0.05f);
    click(centreOf(scene->getElevatorPanel()->getSideBar()->getLimitedLivesToggle()));
    ASSERT_TRUE(Zarn::singlePlayerProgress().isModeActive(Zarn::playMode::limitedLives));
    frames(60, 0.05f);
    PlayTestSceneNode* level = host();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getInGameScene()->getMapName(), "DEMO_EmptyRoomWithHoles.map");
    EXPECT_EQ(Zarn::singlePlayerProgress().currentLevel, 1u);
    Zarn::SinglePlayerData saved;
    saved.loadFromSaveFile(getSinglePlayerSaveFileName());
    EXPECT_EQ(saved.currentLevel, 1u);
}

// The home icon, clicked twice in one frame, leaves for the main menu once.
TEST_F(Elevator, TwoClicksInOneFrameOnTheHomeIconLeaveOnce) {
    ZUISinglePlayerScene* scene = restart();
    ZUICoreButton* home = scene->getElevatorPanel()->getSideBar()->getHomeButton();
    int actions = 0;
    const std::function<void()> leave = home->callback;
    home->callback = [&] {
        ++actions;
        leave();
    };
    click(centreOf(home));
    click(centreOf(home));
    EXPECT_EQ(actions, 1);
    frames(20, 0.05f);
    EXPECT_NE(dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene()), nullptr);
}

// The narrow bar's hint shows while the mouse is over any locked mode slot;
// a tap on the slots flips it and a tap elsewhere leaves it.
TEST_F(Elevator, TheLockedModesHintFollowsTheMouseAndFlipsOnATap) {
    ZUISinglePlayerScene* scene = restart();
    ZUIElevatorSideBar* bar = scene->getElevatorPanel()->getSideBar();
    Label* hint = bar->getUnlockHint();
    ASSERT_NE(hint, nullptr);
    EXPECT_FALSE(hint->isVisible());
    const Vec2 slots[] = {{200, 380}, {200, 680}, {200, 950}};  // lower, middle, upper
    const Vec2 outside = bar->convertToWorldSpace(Vec2(200, 1200));
    for (const Vec2& slot : slots) {
        mouseTo(bar->convertToWorldSpace(slot));
        EXPECT_TRUE(hint->isVisible()) << slot.y;
        mouseTo(outside);
        EXPECT_FALSE(hint->isVisible()) << slot.y;
    }
    tap(bar->convertToWorldSpace(slots[1]));
    EXPECT_TRUE(hint->isVisible());
    tap(outside);
    EXPECT_TRUE(hint->isVisible());
    tap(bar->convertToWorldSpace(slots[2]));
    EXPECT_FALSE(hint->isVisible());
}

// Switching limited lives on or off with no lives left restarts the lives
// run (three lives, from the first floor) before the floors are refreshed,
// and the record is saved.
TEST_F(Elevator, SwitchingLimitedLivesWithNoLivesLeftRestartsTheLivesRun) {
    Zarn::SinglePlayerData done = progressWith(32);
    done.runComplete = 1;
    done.selectLevel(31);
    done.lives = 0;
    done.limitedLivesLevel = 5;
    writeSinglePlayerProgress(done);
    ZUISinglePlayerScene* scene = restart();
    ZUIElevatorToggleButton* lives = scene->getElevatorPanel()->getSideBar()->getLimitedLivesToggle();
    ASSERT_NE(lives, nullptr);
    const Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    Zarn::SinglePlayerData saved;

    click(centreOf(lives));  // on: the lives run would resume on floor 5
    ASSERT_TRUE(progress.isModeActive(Zarn::playMode::limitedLives));
    EXPECT_EQ(progress.lives, 3u);
    EXPECT_EQ(progress.limitedLivesLevel, 0u);
    EXPECT_EQ(progress.furthestLevel, 0u);
    EXPECT_TRUE(floors(scene)->buttonOf(0)->isEnabled());
    EXPECT_FALSE(floors(scene)->buttonOf(1)->isEnabled());
    EXPECT_FALSE(floors(scene)->buttonOf(5)->isEnabled());
    EXPECT_EQ(floors(scene)->buttonOf(0)->getOutline()->getColor(), Color3B::WHITE);
    saved.loadFromSaveFile(getSinglePlayerSaveFileName());
    EXPECT_EQ(saved.lives, 3u);
    EXPECT_EQ(saved.furthestLevel, 0u);

    Zarn::singlePlayerProgress().lives = 0;
    Zarn::singlePlayerProgress().limitedLivesLevel = 4;
    frame(0.0f);
    click(centreOf(lives));  // off: the story's floors come back, the lives run starts over
    EXPECT_FALSE(progress.isModeActive(Zarn::playMode::limitedLives));
    EXPECT_EQ(progress.lives, 3u);
    EXPECT_EQ(progress.limitedLivesLevel, 0u);
    EXPECT_EQ(progress.furthestLevel, 31u);
    EXPECT_TRUE(floors(scene)->buttonOf(31)->isEnabled());
    saved.loadFromSaveFile(getSinglePlayerSaveFileName());
    EXPECT_EQ(saved.lives, 3u);
    EXPECT_EQ(saved.limitedLivesLevel, 0u);
}

// A file with another level count keeps the floors reached; a completed
// story opens every floor and shows the wide bar, whose mode switches are
// saved at once.
TEST_F(Elevator, ALevelCountChangeKeepsProgressAndACompletedStoryOpensEveryFloor) {
    Zarn::SinglePlayerData old = progressWith(30);
    old.levelStatuses[0].fewestDeaths = 0;
    old.selectLevel(3);
    writeSinglePlayerProgress(old);
    ZUISinglePlayerScene* scene = restart();
    ASSERT_EQ(floors(scene)->getButtons().size(), 32u);
    EXPECT_TRUE(floors(scene)->buttonOf(3)->isEnabled());
    EXPECT_FALSE(floors(scene)->buttonOf(4)->isEnabled());
    EXPECT_EQ(floors(scene)->getMedalBars().size(), 1u);

    old.runComplete = 1;
    writeSinglePlayerProgress(old);
    scene = restart();
    for (const ZUIElevatorButton* b : floors(scene)->getButtons())
        EXPECT_TRUE(b->isEnabled()) << b->getLevelIndex();
    ZUIElevatorSideBar* bar = scene->getElevatorPanel()->getSideBar();
    EXPECT_EQ(bar->getContentSize().width, 820.0f);
    EXPECT_EQ(floors(scene)->getMedalBars().size(), 32u);
    ASSERT_NE(bar->getTimerToggle(), nullptr);
    bar->getTimerToggle()->callback(true);
    Zarn::SinglePlayerData saved;
    saved.loadFromSaveFile(getSinglePlayerSaveFileName());
    EXPECT_EQ(saved.levelCount(), 32u);
    EXPECT_EQ(saved.timerMode, 1);
    EXPECT_EQ(saved.furthestLevel, 31u);
}

// The first floor played to its exit by clicks on the room, as its recorded
// solution walks it: the result panel's "levels" leads back to the elevator
// with the next floor open and the medal bar under the beaten one, and a new
// program over the same folder shows the same.
TEST_F(Elevator, BeatingTheFirstFloorOpensTheSecondAndKeepsItsMedal) {
    ZUISinglePlayerScene* scene = restart();
    click(centreOf(floors(scene)->buttonOf(0)));
    frames(60, 0.05f);
    PlayTestSceneNode* level = host();
    ASSERT_NE(level, nullptr);
    ASSERT_TRUE(dismissDialog(level));  // the floor's greeting
    ASSERT_TRUE(playSolution("DEMO_EmptyRoomWithWalls"));
    EXPECT_EQ(level->getClient().getScoreKeeperRegistry().scores[0].deaths, 0u);
    frames(80, kTick);  // the panel drops in and shows its rows
    click(centreOf(level->getResultPanel()->getLevelsButton()));
    frames(20, 0.05f);

    for (int run = 0; run < 2; ++run) {
        auto* back = dynamic_cast<ZUISinglePlayerScene*>(Director::getInstance()->getRunningScene());
        ASSERT_NE(back, nullptr) << run;
        const auto& buttons = floors(back)->getButtons();
        EXPECT_TRUE(buttons[1]->isEnabled()) << run;
        EXPECT_FALSE(buttons[2]->isEnabled()) << run;
        ASSERT_EQ(floors(back)->getMedalBars().size(), 1u) << run;
        EXPECT_EQ(floors(back)->getMedalBars()[0]->getDeathMedal()->getSpriteFrame()->getName(),
                  "medal_death_count_gold.png");
        EXPECT_EQ(back->getElevatorPanel()->getSideBar()->getFloorLabel()->getString(), "1") << run;
        restart();
    }
}

}  // namespace
