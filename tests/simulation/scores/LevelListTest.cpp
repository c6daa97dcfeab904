#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "simulation/scores/LevelEntry.h"

namespace {

using Zarn::LevelList;
using Zarn::levelMapFileName;

TEST(LevelList, MapFileNameAtAndPastTheLastLevel) {
    struct Case {
        u32 index;
        const char* name;
    };
    const Case cases[] = {
        {0, "DEMO_EmptyRoomWithWalls.map"},
        {27, "ThreeChunkMiddleSpike.map"},
        {31, "DEMO_TDLongRowWithSafeSpotInt01.map"},
        {32, "BlankRoom.map"},
        {0xFFFFFFFFu, "BlankRoom.map"},
    };
    for (const Case& c : cases) EXPECT_EQ(levelMapFileName(c.index), c.name) << c.index;
}

TEST(LevelList, ThirtyTwoLevelsWithTheSameGoalsAndDistinctMaps) {
    const LevelList& levels = LevelList::instance();
    ASSERT_EQ(levels.size(), 32u);
    std::set<std::string> names;
    for (const Zarn::LevelEntry& e : levels) {
        EXPECT_TRUE(names.insert(e.mapName).second) << e.mapName;
        EXPECT_EQ(e.mapName.find('.'), std::string::npos) << e.mapName;
        EXPECT_EQ((std::array{e.deathGoldGoal, e.deathSilverGoal, e.deathBronzeGoal}),
                  (std::array<u32, 3>{0, 2, 4}));
        EXPECT_EQ((std::array{e.timeGoldGoal, e.timeSilverGoal, e.timeBronzeGoal}),
                  (std::array<u64, 3>{10000, 15000, 30000}));
        EXPECT_EQ(e.timeAttackLimit, 30000u);
    }
    // The first bonus challenge is count - 5.
    EXPECT_EQ(levels[levels.size() - 5].mapName, "ThreeChunkMiddleSpike");
}

}  // namespace
