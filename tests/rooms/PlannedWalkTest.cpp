#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "map/import/GameMap.h"
#include "rooms/support/ShippedRooms.h"
#include "rooms/support/SolutionPlayer.h"
#include "simulation/core/GameWorld.h"
#include "simulation/server/InputApplier.h"
#include "simulation/state/InputState.h"
#include "simulation/state/InputTables.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/triggers/InputResult.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

// Floor 1: holes and pits between the spawn (top left) and the exit (bottom
// right, cell 9, 1).
const std::string kRoom = "DEMO_EmptyRoomWithHoles";

// The cells of the room's floors that kill (holes and pits), by packed key.
std::set<u32> floorsThatKill(const Zarn::GameMap& map) {
    std::set<u32> cells;
    for (const auto& record : map.mapElements) {
        const auto* tile = dynamic_cast<const Zarn::WholeTileMapElement*>(record.get());
        if (tile != nullptr && (tile->elementId == 54 || tile->elementId == 137))
            cells.insert(tile->cell.key);
    }
    return cells;
}

// Clicking the exit from the start, through the real single-play client and
// its server, takes the rat out of the room without a death.
TEST(PlannedWalkOnFloorOne, ClickingTheExitFromTheStartLeavesTheRoom) {
    const std::vector<u8> map = zarn_test::shippedMap(kRoom);
    ASSERT_FALSE(map.empty());
    const Zarn::Solution click = Zarn::parseSolution("move 9 1\n");
    const zarn_test::PlayResult result = zarn_test::playAlone(map, click, 600);
    EXPECT_EQ(result.totalDeaths(), 0u) << result.report();
    EXPECT_TRUE(result.everyoneExited()) << result.report();
}

class IgnoredInputs : public Zarn::InputEventTrigger {
public:
    void onInput(const Zarn::InputResult&) override {}
};

// The free cells that a walk of straight steps over free, safe cells reaches
// from the start cell, by packed key.
std::set<u32> safelyReachable(const Zarn::CellGrid& grid, const std::set<u32>& killing, Point start) {
    std::set<u32> seen{start.key};
    std::vector<Point> open{start};
    while (!open.empty()) {
        const Point at = open.back();
        open.pop_back();
        for (const Point& step : {Point(1, 0), Point(-1, 0), Point(0, 1), Point(0, -1)}) {
            const Point next(static_cast<i16>(at.x + step.x), static_cast<i16>(at.y + step.y));
            if (next.x < 0 || next.y < 0 || next.x >= static_cast<i16>(grid.getColumns()) ||
                next.y >= static_cast<i16>(grid.getRows()))
                continue;
            if (grid.cellStatus(static_cast<u32>(next.x), static_cast<u32>(next.y)) != 0) continue;
            if (killing.count(next.key) != 0 || !seen.insert(next.key).second) continue;
            open.push_back(next);
        }
    }
    return seen;
}

// From the spawn, a click on any cell of the room walks the rat there when a
// safe way leads there, or leaves it standing, without ever setting foot in a
// hole or a pit.
TEST(PlannedWalkOnFloorOne, NoClickedCellWalksTheRatIntoAHole) {
    const std::vector<u8> bytes = zarn_test::shippedMap(kRoom);
    ASSERT_FALSE(bytes.empty());
    Zarn::GameMap records;
    zarn_test::readRecords(bytes, records);
    const std::set<u32> killing = floorsThatKill(records);
    ASSERT_FALSE(killing.empty());
    const u32 cell = records.grid.getCellSize();
    const std::set<u32> reachable =
        safelyReachable(records.grid, killing, records.grid.toCell(records.header.spawnPoint));
    ASSERT_GT(reachable.size(), 25u);
    for (u32 x = 0; x < records.grid.getColumns(); ++x) {
        for (u32 y = 0; y < records.grid.getRows(); ++y) {
            SCOPED_TRACE(testing::Message() << "clicked cell " << x << ", " << y);
            Zarn::GameWorld world;
            std::istringstream in(std::string(bytes.begin(), bytes.end()));
            world.loadMap(in);
            world.addPlayer(1);
            Zarn::AppliedInputRegistry registry;
            IgnoredInputs inputs;
            Zarn::InputApplier applier{registry,  world.units, world.dialogs,
                                       world.map, inputs,      world.triggers.positionElementTrigger()};
            Zarn::InputState click(1, 1);
            click.inputs.emplace_back(1, FPoint(x * cell + cell / 2.0f, y * cell + cell / 2.0f));
            applier.apply(1, {click});
            for (int tick = 0; tick < 300; ++tick) {
                world.stepOnce();
                const Zarn::SteerableUnit& unit = world.units.getUnit(1);
                const Point at = world.map.grid.toCell(Point(unit.body().position));
                ASSERT_EQ(killing.count(at.key), 0u) << "in a hole at tick " << tick;
                ASSERT_FALSE(Zarn::isDeathState(unit.state)) << "dead at tick " << tick;
            }
            const Point clicked(static_cast<i16>(x), static_cast<i16>(y));
            if (reachable.count(clicked.key) != 0) {
                EXPECT_EQ(world.map.grid.toCell(Point(world.units.getUnit(1).body().position)), clicked)
                    << "the rat did not get there";
            }
        }
    }
}

}  // namespace
