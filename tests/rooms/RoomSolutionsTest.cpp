#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <set>

#include "map/import/GameMap.h"
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

// A shipped room and its recorded solution, played by one client alone or
// by one client per player; prints the report when tracing.
class RecordedRun : public ::testing::TestWithParam<std::string> {
protected:
    void play(bool together) {
        map = zarn_test::shippedMap(GetParam());
        ASSERT_FALSE(map.empty()) << "maps/" << GetParam() << ".map is not built";
        solution = zarn_test::recordedSolution(GetParam());
        result = together ? zarn_test::playTogether(map, solution, kTickLimit)
                          : zarn_test::playAlone(map, solution, kTickLimit);
        if (tracing()) std::cout << GetParam() << ": " << result.report();
        EXPECT_FALSE(result.stalled) << result.report();
        EXPECT_EQ(result.totalDeaths(), 0u) << result.report();
    }

    std::vector<u8> map;
    Solution solution;
    PlayResult result;
};

using StoryRoomSolution = RecordedRun;

// The recorded solution, played through the real single-play client and its
// server thread, leaves the room with no death inside the medal time the room
// is meant for.
TEST_P(StoryRoomSolution, LeavesTheRoomWithoutDyingInTheMedalTime) {
    ASSERT_NO_FATAL_FAILURE(play(false));
    const bool silver = solution.medal == Solution::Medal::silver;
    EXPECT_EQ(silver, kSilverRooms.count(GetParam()) != 0)
        << "a room that needs silver is named in kSilverRooms";
    EXPECT_TRUE(result.everyoneExited()) << result.report();
    EXPECT_LT(result.exitMilliseconds(), silver ? kSilverMs : kGoldMs) << result.report();
}

INSTANTIATE_TEST_SUITE_P(LevelTable, StoryRoomSolution, ::testing::ValuesIn(zarn_test::levelTableRooms()),
                         [](const auto& info) { return info.param; });

}  // namespace

namespace {

// The cells of the map events that take a player out of the level.
std::set<u32> exitCells(const Zarn::GameMap& map) {
    std::set<u32> cells;
    for (const auto& e : map.mapEvents) {
        bool exits = false;
        for (const auto& a : e->actions) exits = exits || a->actionId == 37;
        if (!exits) continue;
        if (auto* area = dynamic_cast<const Zarn::AreaTriggerData*>(e->trigger.get()))
            for (const GeometryLib::Point& c : area->cells) cells.insert(c.key);
        if (auto* at = dynamic_cast<const Zarn::PositionTriggerData*>(e->trigger.get()))
            cells.insert(at->cell.key);
    }
    return cells;
}

using CoopRoomSolution = RecordedRun;

// Two players, each with a client game core of its own, play the recorded
// solution against one server: nobody dies, player 0 leaves the level (the
// exit takes the first player) and every player ends on an exit cell.
TEST_P(CoopRoomSolution, BringsEveryPlayerToTheExitWithoutADeath) {
    ASSERT_NO_FATAL_FAILURE(play(true));
    ASSERT_GE(solution.players.size(), 2u) << "a co-op solution plays at least two players";
    EXPECT_TRUE(result.players.front().exited) << result.report();
    Zarn::GameMap room;
    zarn_test::readRecords(map, room);
    const std::set<u32> exits = exitCells(room);
    for (std::size_t i = 0; i < result.players.size(); ++i) {
        const GeometryLib::Point cell = room.grid.toCell(GeometryLib::Point(result.players[i].lastPosition));
        EXPECT_TRUE(exits.count(cell.key)) << "player " << i << " ends outside the exit\n" << result.report();
    }
}

INSTANTIATE_TEST_SUITE_P(Multiplayer, CoopRoomSolution, ::testing::ValuesIn(zarn_test::coopRooms()),
                         [](const auto& info) { return info.param; });

}  // namespace
