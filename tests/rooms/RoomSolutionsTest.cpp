#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <set>
#include <string>
#include <tuple>

#include "map/import/GameMap.h"
#include "rooms/support/ShippedRooms.h"
#include "rooms/support/SolutionPlayer.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/scores/LevelEntry.h"
#include "world/elements/Door.h"
#include "world/traps/Boss.h"

namespace {

using Zarn::Solution;
using zarn_test::PlayResult;

// Every level of the table has the same time goals; the first one's stand for all.
const u32 kGoldMs = static_cast<u32>(Zarn::LevelList::instance().front().timeGoldGoal);
const u32 kSilverMs = static_cast<u32>(Zarn::LevelList::instance().front().timeSilverGoal);
// Long enough for a silver run and a little more, so that a slow solution
// fails on its time rather than on the limit.
const u32 kTickLimit = kSilverMs / 30 + 100;

// Rooms whose design needs longer than the gold time; their solutions earn silver.
const std::set<std::string> kSilverRooms = {};

// ZARN_ROOM_TRACE=1 (or 2) prints every run's report, not only a failing one's.
bool tracing() {
    const char* v = std::getenv("ZARN_ROOM_TRACE");
    return v != nullptr && v[0] != '0';
}

// A shipped room and its recorded solution, played by one client alone or
// by one client for each of the solution's first `players` players; prints
// the report when tracing.
class RecordedRun : public ::testing::Test {
protected:
    void play(const std::string& name, bool together, std::size_t players = 4) {
        map = zarn_test::shippedMap(name);
        ASSERT_FALSE(map.empty()) << "maps/" << name << ".map is not built";
        solution = zarn_test::recordedSolution(name);
        if (solution.players.size() > players) solution.players.resize(players);
        result = together ? zarn_test::playTogether(map, solution, kTickLimit)
                          : zarn_test::playAlone(map, solution, kTickLimit);
        if (tracing()) std::cout << name << ": " << result.report();
        EXPECT_FALSE(result.stalled) << result.report();
        EXPECT_EQ(result.totalDeaths(), 0u) << result.report();
    }

    std::vector<u8> map;
    Solution solution;
    PlayResult result;
};

class StoryRoomSolution : public RecordedRun, public ::testing::WithParamInterface<std::string> {};

// The recorded solution, played through the real single-play client and its
// server thread, leaves the room with no death inside the medal time the room
// is meant for.
TEST_P(StoryRoomSolution, LeavesTheRoomWithoutDyingInTheMedalTime) {
    ASSERT_NO_FATAL_FAILURE(play(GetParam(), false));
    const bool silver = solution.medal == Solution::Medal::silver;
    EXPECT_EQ(silver, kSilverRooms.count(GetParam()) != 0)
        << "a room that needs silver is named in kSilverRooms";
    EXPECT_TRUE(result.everyoneExited()) << result.report();
    EXPECT_LT(result.exitMilliseconds(), silver ? kSilverMs : kGoldMs) << result.report();
}

INSTANTIATE_TEST_SUITE_P(LevelTable, StoryRoomSolution, ::testing::ValuesIn(zarn_test::levelTableRooms()),
                         [](const auto& info) { return info.param; });

// The boss room is won by defeating the boss, not by slipping past it: when
// the player leaves, the client's world shows the one boss with no health
// left, and the door that the room opens on its defeat (31) stands open.
TEST(BossRoomSolution, DefeatsTheBossBeforeLeaving) {
    const std::string name = "DEMO_BossSinglePhase";
    int bosses = 0;
    int health = -1;
    bool doorOpen = false;
    const PlayResult result =
        zarn_test::playAlone(zarn_test::shippedMap(name), zarn_test::recordedSolution(name), kTickLimit,
                             [&](Zarn::SinglePlayerZarn& client) {
                                 for (const auto& trap : client.getTraps()) {
                                     if (auto* boss = dynamic_cast<Zarn::Boss*>(trap.get())) {
                                         ++bosses;
                                         health = boss->state.health;
                                     }
                                 }
                                 doorOpen = client.getNumberedElements().getTyped<Zarn::Door>(31).isOpen();
                             });
    ASSERT_TRUE(result.everyoneExited()) << result.report();
    EXPECT_EQ(bosses, 1);
    EXPECT_EQ(health, 0) << result.report();
    EXPECT_TRUE(doorOpen) << result.report();
}

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

// A co-op room and how many players of its solution play it.
using CoopRun = std::tuple<std::string, std::size_t>;

class CoopRoomSolution : public RecordedRun, public ::testing::WithParamInterface<CoopRun> {};

// Two, three or four players, each with a client game core of its own, play
// the first players of the recorded solution against one server: nobody dies,
// and every player leaves the level, each by stepping on an exit cell (the
// exit takes the player on it, each in turn). Each player's part of a
// solution works without the players after it, so the two-player run is the
// same game as the full one without players 2 and 3.
TEST_P(CoopRoomSolution, BringsEveryPlayerToTheExitWithoutADeath) {
    const auto& [name, players] = GetParam();
    ASSERT_NO_FATAL_FAILURE(play(name, true, players));
    ASSERT_EQ(solution.players.size(), players) << "a co-op solution plays four players";
    EXPECT_TRUE(result.everyoneExited()) << result.report();
    Zarn::GameMap room;
    zarn_test::readRecords(map, room);
    const std::set<u32> exits = exitCells(room);
    for (std::size_t i = 0; i < result.players.size(); ++i) {
        const GeometryLib::Point cell = room.grid.toCell(GeometryLib::Point(result.players[i].lastPosition));
        EXPECT_TRUE(exits.count(cell.key)) << "player " << i << " ends outside the exit\n" << result.report();
    }
}

INSTANTIATE_TEST_SUITE_P(Multiplayer, CoopRoomSolution,
                         ::testing::Combine(::testing::ValuesIn(zarn_test::coopRooms()),
                                            ::testing::Values(std::size_t{2}, std::size_t{3},
                                                              std::size_t{4})),
                         [](const auto& info) {
                             return std::get<0>(info.param) + "_" + std::to_string(std::get<1>(info.param)) +
                                    "_players";
                         });

}  // namespace
