#include <gtest/gtest.h>

#include "../support/PresentationFixture.h"
#include "presentation/audio/LevelMusicTable.h"

namespace {

TEST(LevelMusicTable, FindsTheRowWhoseRangeHoldsTheLevelElseTheEmptyRow) {
    const LevelMusicTable table;
    const struct {
        int level;
        const char* file;
        float volume;
    } cases[] = {{0, "sound/music/phase0.mp3", 0.4f},
                 {7, "sound/music/phase0.mp3", 0.4f},
                 {8, "sound/music/phase1.mp3", 0.4f},
                 {15, "sound/music/phase1.mp3", 0.4f},
                 {16, "sound/music/intermission.mp3", 1.0f},
                 {20, "sound/music/phase1.mp3", 0.4f},
                 {26, "", 0.75f},
                 {31, "sound/music/phase2.mp3", 0.75f},
                 {32, "", 1.0f},
                 {-1, "", 1.0f}};
    for (const auto& c : cases) {
        const MusicTrack t = table.findTrack(c.level);
        EXPECT_EQ(t.file, c.file) << c.level;
        EXPECT_FLOAT_EQ(t.volume, c.volume) << c.level;
    }
    EXPECT_EQ(table.findTrack(40), (MusicTrack{0, 0, "", 1.0f}));
}

TEST(LevelMusicTable, ATrackChangesOnlyWhereTheFileDiffers) {
    LevelMusicTable table;
    const struct {
        int from, to;
        bool change;
    } cases[] = {{7, 8, true},   {15, 16, true}, {16, 17, true}, {17, 18, false}, {15, 17, false},
                 {25, 26, true}, {26, 27, true}, {31, 32, true}, {0, 7, false}};
    for (const auto& c : cases) {
        table.musicPlaying = true;
        table.currentLevel = c.from;
        EXPECT_EQ(table.needsTrackChange(c.to), c.change) << c.from << " -> " << c.to;
    }
    table.musicPlaying = false;
    table.currentLevel = 32;
    EXPECT_TRUE(table.needsTrackChange(40)) << "no music playing: any level needs a change";
}

class LevelMusicPlayTest : public zarn_test::PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        zarn_test::makeFiles(soundRoot, {"sound/music/phase0.mp3", "sound/music/phase1.mp3",
                                         "sound/music/intermission.mp3", "sound/music/phase2.mp3"});
    }
};

// Walking through the story: the track starts, carries on within its run,
// stops for the silent level and starts again after it.
TEST_F(LevelMusicPlayTest, WalkingThroughLevelsStartsAndStopsTracksThroughTheMusicChannel) {
    LevelMusicTable table;
    const int first = table.playLevelMusic(6);
    ASSERT_GE(first, 0);
    EXPECT_EQ(table.playLevelMusic(7), -1) << "same track: nothing is done";
    const int second = table.playLevelMusic(8);
    EXPECT_EQ(table.playLevelMusic(26), -1);
    const int third = table.playLevelMusic(27);
    ASSERT_EQ(audio.plays.size(), 3u);
    EXPECT_EQ(audio.files(), (std::vector<std::string>{"sound/music/phase0.mp3", "sound/music/phase1.mp3",
                                                       "sound/music/phase2.mp3"}));
    EXPECT_FLOAT_EQ(audio.plays[0].volume, 0.4f);
    EXPECT_FLOAT_EQ(audio.plays[2].volume, 0.75f);
    EXPECT_TRUE(audio.plays[0].loop);
    EXPECT_EQ(audio.stops, (std::vector<int>{first, second}));
    EXPECT_EQ(audio.playing.size(), 1u);
    EXPECT_EQ(audio.playing.count(third), 1u);

    table.musicPlaying = false;
    EXPECT_GE(table.playLevelMusic(28), 0) << "after the level select the track starts again";
    EXPECT_EQ(audio.count("sound/music/phase2.mp3"), 2u);
}

TEST(OnlineMapMusic, GivesTheTrackAndVolumeOfAnOnlineMapAndNothingForOthers) {
    struct Case {
        const char* map;
        bool found;
        const char* track;
        float volume;
    };
    const Case cases[] = {
        {"multi_lv0.map", true, "sound/music/phase2.mp3", 0.75f},
        {"multi_lv1.map", true, "sound/music/phase2.mp3", 0.4f},
        {"lv2.map", true, "sound/music/lv2.mp3", 0.4f},
        {"multi_lv2.map", false, "", 0.0f},
        {"multi_lv1", false, "", 0.0f},
    };
    for (const Case& c : cases) {
        std::string track;
        float volume = 0.0f;
        EXPECT_EQ(onlineMapMusic(c.map, track, volume), c.found) << c.map;
        EXPECT_EQ(track, c.track) << c.map;
        EXPECT_FLOAT_EQ(volume, c.volume) << c.map;
    }
}

}  // namespace
