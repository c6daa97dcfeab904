#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <set>

#include "rooms/support/ShippedRooms.h"
#include "rooms/support/SolutionPlayer.h"

namespace {

using Zarn::Solution;
using zarn_test::PlayResult;

constexpr u32 kGoldMs = 10000;
constexpr u32 kSilverMs = 15000;
// Long enough for a silver run and a little more, so that a slow solution
// fails on its time rather than on the limit.
constexpr u32 kTickLimit = kSilverMs / 30 + 100;

// Rooms whose design needs longer than the gold time; their solutions earn silver.
const std::set<std::string> kSilverRooms = {};

// ZARN_ROOM_TRACE=1 (or 2) prints every run's report, not only a failing one's.
bool tracing() {
    const char* v = std::getenv("ZARN_ROOM_TRACE");
    return v != nullptr && v[0] != '0';
}

class StoryRoomSolution : public ::testing::TestWithParam<std::string> {};

// The recorded solution, played through the real single-play client and its
// server thread, leaves the room with no death inside the medal time the room
// is meant for.
TEST_P(StoryRoomSolution, LeavesTheRoomWithoutDyingInTheMedalTime) {
    const std::string& name = GetParam();
    const std::vector<u8> map = zarn_test::shippedMap(name);
    ASSERT_FALSE(map.empty()) << "maps/" << name << ".map is not built";
    const Solution solution = zarn_test::recordedSolution(name);
    const bool silver = solution.medal == Solution::Medal::silver;
    EXPECT_EQ(silver, kSilverRooms.count(name) != 0) << "a room that needs silver is named in kSilverRooms";

    const PlayResult result = zarn_test::playAlone(map, solution, kTickLimit);
    if (tracing()) std::cout << name << ": " << result.report();
    EXPECT_FALSE(result.stalled) << result.report();
    EXPECT_TRUE(result.everyoneExited()) << result.report();
    EXPECT_EQ(result.totalDeaths(), 0u) << result.report();
    EXPECT_LT(result.exitMilliseconds(), silver ? kSilverMs : kGoldMs) << result.report();
}

INSTANTIATE_TEST_SUITE_P(LevelTable, StoryRoomSolution, ::testing::ValuesIn(zarn_test::levelTableRooms()),
                         [](const auto& info) { return info.param; });

}  // namespace
