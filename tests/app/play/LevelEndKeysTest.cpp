#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../support/PlayFixture.h"
#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIMedalResult.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/ZUICoreButton.h"
#include "foundation/SaveFiles.h"
#include "world/triggers/DialogWindow.h"

namespace {

using cocos2d::EventKeyboard;
using K = cocos2d::EventKeyboard::KeyCode;

// Keys at a story level's end: the result panel and the game-over panel,
// with the progress file they leave. The rooms: "walls" has no way to die,
// "holes" a hole on cell (4, 3) beside the spawn on (1, 3).
class LevelEndKeys : public zarn_test::PlayFixture {
protected:
    static constexpr const char* kWalls = "DEMO_EmptyRoomWithWalls";
    static constexpr const char* kHoles = "DEMO_EmptyRoomWithHoles";

    void SetUp() override {
        PlayFixture::SetUp();
        forget();
    }
    void TearDown() override {
        PlayFixture::TearDown();
        forget();
    }
    // No progress file, and the game's record (which the elevator reads) fresh.
    static void forget() {
        std::filesystem::remove(Convinience::writablePath() + getSinglePlayerSaveFileName());
        Zarn::singlePlayerProgress() = Zarn::SinglePlayerData();
    }
    void release(K code) {
        view->handleKey(static_cast<int>(code), true);
        view->handleKey(static_cast<int>(code), false);
    }
    static Zarn::SinglePlayerData saved() {
        Zarn::SinglePlayerData data;
        EXPECT_TRUE(data.loadFromSaveFile(getSinglePlayerSaveFileName()));
        return data;
    }
    // A host that stands in a level plays the room of the level the record
    // names.
    void expectPlaysTheRecordsLevel(PlayTestSceneNode* h) const {
        ASSERT_LT(progress.currentLevel, levels.size());
        EXPECT_EQ(h->getInGameScene()->getMapName(), levels[progress.currentLevel].mapName + ".map");
    }
    // Steps until a new host stands in for `old`; null when none came.
    PlayTestSceneNode* nextHost(PlayTestSceneNode* old) {
        if (!stepUntil([&] { return host() != nullptr && host() != old; }, 100)) return nullptr;
        return host();
    }
    // Floor 1 (the holes) on a limited-lives run with one life left, the rat
    // has run into the hole: the run is over and saved, the game-over panel
    // not yet shown.
    PlayTestSceneNode* loseTheLastLife() {
        levels = {level(kWalls), level(kHoles)};
        progress.setLevelCount(2);
        progress.enableMode(Zarn::playMode::deaths);
        progress.enableMode(Zarn::playMode::limitedLives);
        progress.selectLevel(1);
        progress.currentLevel = 1;
        progress.lives = 1;
        PlayTestSceneNode* h = start(&progress, levels);
        if (h == nullptr || !step() || !dismissDialog(h)) return nullptr;
        // Held to the right, the rat runs into the hole.
        view->handleKey(static_cast<int>(K::KEY_RIGHT_ARROW), true);
        const bool died = stepUntil([] { return Zarn::isDeathState(player().state); }, 300);
        view->handleKey(static_cast<int>(K::KEY_RIGHT_ARROW), false);
        if (!died || !stepUntil([&] { return progress.lives == 3; }, 600)) return nullptr;
        return h;
    }
    // Floor 0 of `story` (death counting on) beaten without a death: its
    // host with the result panel dropping in; null when that failed.
    PlayTestSceneNode* beatFloorZero(const Zarn::LevelList& story) {
        levels = story;
        progress.setLevelCount(static_cast<u32>(story.size()));
        progress.enableMode(Zarn::playMode::deaths);
        PlayTestSceneNode* first = start(&progress, levels);
        if (first == nullptr || !step()) return nullptr;
        first->onLevelFinished();
        return first->getResultPanel() != nullptr ? first : nullptr;
    }
    // What the game over saved: the limited-lives run from its start.
    static void expectTheRunStartsAgain(const Zarn::SinglePlayerData& data) {
        EXPECT_EQ(data.lives, 3u);
        EXPECT_EQ(data.limitedLivesLevel, 0u);
        EXPECT_EQ(data.currentLevel, 0u);
        EXPECT_EQ(data.limitedLivesMode, 1);
        EXPECT_EQ(data.getLevelStatus(1).fewestDeaths, 0xFFFFFFFFu) << "the lost floor has no result";
    }

    Zarn::LevelList levels;
    Zarn::SinglePlayerData progress;
};

// Beating floor 0 and releasing R on the result panel: before the panel has
// dropped in nothing happens; afterwards the key is the panel's "next" and
// nothing else (the level behind does not restart as well), so floor 1 is
// played and recorded as floor 1.
TEST_F(LevelEndKeys, RShowsTheNextFloorFromTheResultPanelAndTheRecordFollows) {
    PlayTestSceneNode* first = beatFloorZero({level(kHoles), level(kWalls), level(kHoles)});
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(saved().furthestLevel, 1u);

    release(K::KEY_R);
    release(K::KEY_ESCAPE);
    frames(5, kTick);
    EXPECT_EQ(host(), first) << "the panel is dropping in";
    frames(80, kTick);
    release(K::KEY_R);
    PlayTestSceneNode* second = nextHost(first);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(progress.currentLevel, 1u);
    expectPlaysTheRecordsLevel(second);
    EXPECT_EQ(second->getInGameScene()->getCurrentLevel(), 1u);

    ASSERT_TRUE(step());
    second->onLevelFinished();
    const Zarn::SinglePlayerData data = saved();
    EXPECT_EQ(data.furthestLevel, 2u);
    EXPECT_EQ(data.getLevelStatus(1).fewestDeaths, 0u);
    EXPECT_EQ(data.getLevelStatus(2).locked, 0);
}

// Under the game-over panel a released key, R too, is the panel's: once it
// has dropped in, it leads back to the elevator, which shows the run saved
// from its start; the lost floor is not played again.
TEST_F(LevelEndKeys, RUnderTheGameOverPanelLeadsToTheElevatorWithTheRunFromItsStart) {
    PlayTestSceneNode* h = loseTheLastLife();
    ASSERT_NE(h, nullptr);
    expectTheRunStartsAgain(saved());
    ASSERT_TRUE(stepUntil([&] { return h->getResultPanel() != nullptr; }, 100));
    release(K::KEY_R);
    frames(5, kTick);
    EXPECT_EQ(host(), h) << "the panel is dropping in";
    frames(80, kTick);
    release(K::KEY_R);
    frames(20, 0.05f);
    EXPECT_NE(dynamic_cast<ZUISinglePlayerScene*>(cocos2d::Director::getInstance()->getRunningScene()),
              nullptr);
    expectTheRunStartsAgain(saved());
}

// R between the last life lost and the game-over panel restarts the
// limited-lives run from its first floor, not the lost floor.
TEST_F(LevelEndKeys, RBeforeTheGameOverPanelRestartsTheRunFromItsFirstFloor) {
    PlayTestSceneNode* h = loseTheLastLife();
    ASSERT_NE(h, nullptr);
    release(K::KEY_R);
    PlayTestSceneNode* again = nextHost(h);
    ASSERT_NE(again, nullptr);
    expectPlaysTheRecordsLevel(again);
    EXPECT_EQ(again->getInGameScene()->getMapName(), std::string(kWalls) + ".map");
    EXPECT_EQ(again->getResultPanel(), nullptr);
    expectTheRunStartsAgain(saved());
}

// A key and a click on another button of the result panel in one frame: the
// first way out taken is the only one, so the record still names the floor
// that is played.
TEST_F(LevelEndKeys, OneWayOutOfALevelPerFrame) {
    PlayTestSceneNode* first = beatFloorZero({level(kHoles), level(kWalls)});
    ASSERT_NE(first, nullptr);
    frames(80, kTick);
    release(K::KEY_SPACE);                                       // next
    click(centreOf(first->getResultPanel()->getRetryButton()));  // and retry
    PlayTestSceneNode* second = nextHost(first);
    ASSERT_NE(second, nullptr);
    expectPlaysTheRecordsLevel(second);
    EXPECT_EQ(second->getInGameScene()->getMapName(), std::string(kWalls) + ".map");
}

// A next floor that cannot be brought up leaves the player on the result
// panel with the record still on the floor played, so its retry plays that
// floor under its own number.
TEST_F(LevelEndKeys, ANextFloorThatCannotBeBroughtUpLeavesTheRecordOnTheFloorPlayed) {
    PlayTestSceneNode* first = beatFloorZero({level(kHoles), level("NoSuchRoom"), level(kWalls)});
    ASSERT_NE(first, nullptr);
    frames(80, kTick);
    release(K::KEY_SPACE);
    frames(3, kTick);
    EXPECT_EQ(host(), first);
    EXPECT_TRUE(textDrawn(U"This level could not be loaded."));
    EXPECT_EQ(progress.currentLevel, 0u);
    click(centreOf(first->getResultPanel()->getRetryButton()));
    PlayTestSceneNode* again = nextHost(first);
    ASSERT_NE(again, nullptr);
    expectPlaysTheRecordsLevel(again);
}

}  // namespace
