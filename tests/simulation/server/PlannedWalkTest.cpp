#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "simulation/core/GameWorld.h"
#include "simulation/server/InputApplier.h"
#include "simulation/state/InputState.h"
#include "simulation/state/InputTables.h"
#include "support/map/MapBuilder.h"
#include "support/map/RoomRecords.h"
#include "tools/RoomCompiler.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/triggers/InputResult.h"

using namespace Zarn;
using GeometryLib::FPoint;
using GeometryLib::Point;

namespace {

constexpr i16 kCell = 64;
constexpr u32 kClient = 3;

FPoint centre(Point cell) {
    return FPoint(cell.x * kCell + kCell / 2.0f, cell.y * kCell + kCell / 2.0f);
}

class IgnoredInputs : public InputEventTrigger {
public:
    void onInput(const InputResult&) override {}
};

// A room of 64-unit cells drawn row 0 (the lowest y) first: '#' wall, 'h' a
// hole, 'p' a pit, 'd' a trap door and 'k' spikes (both running, lethal for
// half of every second), 'S' the spawn, 'T' the clicked cell.
struct WalkCase {
    const char* name;
    std::vector<std::string> rows;
    bool arrives;
};

class PlannedWalk {
public:
    explicit PlannedWalk(const WalkCase& c) {
        std::vector<u8> tiles;
        std::vector<WholeTileMapElement> floors;
        std::vector<IntervalTrapElement> traps;
        u32 number = 100;
        for (std::size_t y = 0; y < c.rows.size(); ++y) {
            for (std::size_t x = 0; x < c.rows[y].size(); ++x) {
                const char symbol = c.rows[y][x];
                const Point cell(static_cast<i16>(x), static_cast<i16>(y));
                tiles.push_back(symbol == '#' ? 1 : 0);
                if (symbol == 'S') spawn = cell;
                if (symbol == 'T') target = cell;
                if (symbol == 'h' || symbol == 'p') {
                    WholeTileMapElement floor;
                    floor.elementId = symbol == 'h' ? 54 : 137;
                    floor.cell = cell;
                    floors.push_back(floor);
                }
                if (symbol == 'd' || symbol == 'k')
                    traps.push_back(zarn_test::trapAt(symbol == 'd' ? 43 : 127, number++, cell, 0.5f, 0.5f));
                if (symbol != '.' && symbol != '#' && symbol != 'S' && symbol != 'T')
                    killing.insert(cell.key);
            }
        }
        const auto columns = static_cast<u32>(c.rows.front().size());
        const auto rows = static_cast<u32>(c.rows.size());
        zarn_test::MapBuilder builder("walk", Point(centre(spawn)));
        builder.grid(kCell, c.rows, maximalFreeRectangles(tiles, columns, rows));
        for (const auto& floor : floors) builder.element(floor);
        for (const auto& trap : traps) builder.trap(trap);
        std::istringstream in = builder.stream();
        world.loadMap(in);
        for (const auto& trap : world.traps) trap->enable();
        world.addPlayer(kClient);
    }

    // Clicks the target and steps the world for up to `seconds`; false as
    // soon as the unit stands in a killing cell or dies.
    bool walk(float seconds) {
        InputState click(kClient, 1);
        click.inputs.emplace_back(1, centre(target));
        applier.apply(kClient, {click});
        for (int tick = 0; tick * world.tickDelta() < seconds; ++tick) {
            world.stepOnce();
            const SteerableUnit& unit = world.units.getUnit(kClient);
            const Point cell = world.map.grid.toCell(Point(unit.body().position));
            if (killing.count(cell.key) != 0 || isDeathState(unit.state)) return false;
        }
        return true;
    }

    FPoint position() { return world.units.getUnit(kClient).body().position; }

    Point spawn;
    Point target;
    std::set<u32> killing;
    GameWorld world;

private:
    AppliedInputRegistry registry;
    IgnoredInputs inputs;
    InputApplier applier{registry,  world.units, world.dialogs,
                         world.map, inputs,      world.triggers.positionElementTrigger()};
};

TEST(PlannedWalk, AClickedWalkNeverEntersACellThatKills) {
    const WalkCase cases[] = {
        {"a hole between", {"......", "S.h..T", "......"}, true},
        {"a pit between", {"......", "S.p..T", "......"}, true},
        {"a trap door between", {"......", "S.d..T", "......"}, true},
        {"spikes between", {"......", "S.k..T", "......"}, true},
        {"holes round a wall's end", {"..h...", "S.#h.T", "..#...", "......"}, true},
        {"no safe way", {"..h...", "S.h..T", "..h..."}, false},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlannedWalk room(c);
        EXPECT_TRUE(room.walk(6.0f)) << "the unit entered a killing cell or died";
        const FPoint at = room.position();
        const FPoint expected = centre(c.arrives ? room.target : room.spawn);
        EXPECT_LT(std::hypot(at.x - expected.x, at.y - expected.y), 4.0f) << at.x << ", " << at.y;
    }
}

}  // namespace
