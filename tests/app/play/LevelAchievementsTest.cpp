#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "../support/PlayFixture.h"
#include "app/start/PlatformServices.h"
#include "app/story/ZUIMedalResult.h"
#include "app/widgets/ZUICoreButton.h"
#include "simulation/achievements/AchievementTracker.h"
#include "simulation/achievements/LocalAchievementService.h"
#include "support/TestEnvironment.h"
#include "support/net/LogWatch.h"

namespace {

using zarn_test::PlayFixture;

// A ten-level story of one of the game's own rooms, nine levels beaten, with
// the local achievements kept in a folder of the test's own.
class LevelAchievements : public PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        folder = (std::filesystem::path(zarn_test::tempDir()) / "level-achievements").string();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        levels = Zarn::LevelList(10, level("DEMO_EmptyRoomWithWalls"));
        progress.setLevelCount(10);
        progress.enableMode(Zarn::playMode::deaths);
        for (u32 i = 0; i < 9; ++i) progress.levelStatuses[i].fewestDeaths = 2;
        progress.selectLevel(9);
        progress.currentLevel = 9;
    }
    void TearDown() override {
        PlayFixture::TearDown();
        uninstallPlatformServices();
    }

    std::string folder;
    Zarn::LevelList levels;
    Zarn::SinglePlayerData progress;
};

TEST_F(LevelAchievements, ALevelEndUnlocksWhatTheTriggersSayAndKeepsItAcrossARestart) {
    {
        Zarn::LocalAchievementService earlier(folder);
        ThirdParty::Achievement beatOne;
        beatOne.id = "BEAT_1_LEVEL";
        earlier.unlock(beatOne);
        earlier.store();
    }
    installPlatformServices(folder);
    ASSERT_NE(AchievementTrackerHook, nullptr);
    Zarn::AchievementTracker& tracker = *AchievementTrackerHook;
    const zarn_test::LogWatch log;

    PlayTestSceneNode* first = start(&progress, levels);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(step());
    // The level made the passive triggers; the first tick asked the service.
    EXPECT_TRUE(tracker.isPending("BEAT_10_LEVELS"));
    EXPECT_EQ(tracker.known().size(), Zarn::achievementIdSet().size());
    EXPECT_EQ(tracker.known().at("BEAT_1_LEVEL").achieved, 1);

    ASSERT_TRUE(playSolution("DEMO_EmptyRoomWithWalls"));
    EXPECT_EQ(progress.getLevelStatus(9).fewestDeaths, 0u);
    // Ten levels beaten: the level end unlocked, logged and stored it.
    EXPECT_EQ(log.count("Achievement unlocked: BEAT_10_LEVELS"), 1u);
    EXPECT_EQ(log.count("Achievement unlocked: BEAT_1_LEVEL"), 0u) << "unlocked before";
    EXPECT_FALSE(tracker.isPending("BEAT_10_LEVELS"));
    EXPECT_TRUE(tracker.isPending("BEAT_50_LEVELS"));

    // The same level again: what is unlocked gets no trigger.
    first->getResultPanel()->getRetryButton()->callback();
    ASSERT_TRUE(stepUntil([&] { return host() != nullptr && host() != first; }, 100));
    ASSERT_TRUE(step());
    EXPECT_FALSE(tracker.isPending("BEAT_10_LEVELS"));
    EXPECT_FALSE(tracker.isPending("BEAT_1_LEVEL"));
    EXPECT_EQ(tracker.pendingCount(), 2u);

    // A restart of the game: a new service over the same folder.
    run(cocos2d::Scene::create());
    uninstallPlatformServices();
    EXPECT_EQ(Zarn::LocalAchievementService(folder).unlocked(),
              (std::set<std::string>{"BEAT_10_LEVELS", "BEAT_1_LEVEL"}));
}

}  // namespace
