#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../support/PlayFixture.h"
#include "app/menus/ZUIBetaEndScene.h"
#include "app/play/PlayTestSceneNode.h"
#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIMedalResult.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "foundation/SaveFiles.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"

using namespace cocos2d;

namespace {

// The end of the story over the game's progress record and level list, with
// the progress file in the test's writable folder.
class StoryEnd : public zarn_test::PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        reset();
    }
    void TearDown() override {
        PlayFixture::TearDown();
        reset();
    }
    static void reset() {
        std::filesystem::remove(Convinience::writablePath() + getSinglePlayerSaveFileName());
        Zarn::singlePlayerProgress() = Zarn::SinglePlayerData();
    }
    static const Zarn::LevelList& levels() { return Zarn::LevelList::instance(); }
    static u32 count() { return static_cast<u32>(levels().size()); }
    // The record with every floor up to `level` reached and `level` chosen.
    static Zarn::SinglePlayerData& progressOn(u32 level) {
        Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
        progress.setLevelCount(count());
        progress.selectLevel(level);
        progress.currentLevel = level;
        progress.enableMode(Zarn::playMode::deaths);
        return progress;
    }
    static ZUIBetaEndScene* endScene() {
        return dynamic_cast<ZUIBetaEndScene*>(Director::getInstance()->getRunningScene());
    }
    // The result panel's next button, pressed once the panel has dropped in.
    void pressNext(PlayTestSceneNode* level) {
        frames(80, kTick);
        click(centreOf(level->getResultPanel()->getNextButton()));
    }
};

// The last story level played to its exit by clicks, as its recorded
// solution beats it: the result's next button leads to the end-of-levels
// scene with the bonus button, which starts the first bonus challenge
// through the single-play host.
TEST_F(StoryEnd, BeatingTheLastStoryLevelLeadsToTheBonusChallenges) {
    const u32 last = count() - 6;
    PlayTestSceneNode* level = start(&progressOn(last), levels());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getInGameScene()->getMapName(), levels()[last].mapName + ".map");
    ASSERT_TRUE(step());
    ASSERT_TRUE(playSolution(levels()[last].mapName));
    ASSERT_NE(level->getResultPanel(), nullptr);
    EXPECT_EQ(level->getClient().getScoreKeeperRegistry().scores[0].deaths, 0u);
    Zarn::SinglePlayerData saved;
    ASSERT_TRUE(saved.loadFromSaveFile(getSinglePlayerSaveFileName()));
    EXPECT_EQ(saved.furthestLevel, count() - 5);
    EXPECT_EQ(saved.runComplete, 0);

    pressNext(level);
    frames(30, 0.05f);
    ZUIBetaEndScene* end = endScene();
    ASSERT_NE(end, nullptr);
    ASSERT_NE(end->bonusButton, nullptr);

    click(centreOf(end->bonusButton));
    click(centreOf(end->bonusButton));  // a second press during the fade starts nothing more
    EXPECT_EQ(Zarn::singlePlayerProgress().currentLevel, count() - 5);
    frames(10, 0.1f);
    EXPECT_EQ(host(), nullptr);  // the fade takes 1.5 s
    frames(10, 0.1f);
    PlayTestSceneNode* bonus = host();
    ASSERT_NE(bonus, nullptr);
    EXPECT_EQ(bonus->getInGameScene()->getMapName(), "ThreeChunkMiddleSpike.map");
    EXPECT_EQ(bonus->getInGameScene()->getMapName(), levels()[count() - 5].mapName + ".map");
    frames(20, 0.1f);
    EXPECT_EQ(host(), bonus);
}

// After the last bonus challenge the next button shows the end-of-levels
// scene without the bonus button, and the story is complete.
TEST_F(StoryEnd, AfterTheLastLevelTheSceneHasNoBonusButton) {
    PlayTestSceneNode* level = start(&progressOn(count() - 1), levels());
    ASSERT_NE(level, nullptr);
    ASSERT_TRUE(step());
    level->onLevelFinished();
    ASSERT_NE(level->getResultPanel(), nullptr);
    EXPECT_EQ(Zarn::singlePlayerProgress().runComplete, 1);
    pressNext(level);
    frames(30, 0.05f);
    ZUIBetaEndScene* end = endScene();
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->bonusButton, nullptr);
}

}  // namespace
