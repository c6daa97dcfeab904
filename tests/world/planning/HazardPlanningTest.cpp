#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "grid/GridTestSupport.h"
#include "world/planning/CellHazards.h"
#include "world/planning/JPSMovePlanner.h"
#include "world/steering/Arrival.h"
#include "world/steering/PathedSteering.h"
#include "world/units/SteerableUnit.h"

using GeometryLib::FPoint;
using GeometryLib::Point;
using GeometryLib::Rect;
using Zarn::CellHazards;
using Zarn::JPSMovePlanner;

namespace {

constexpr int S = 64;

FPoint centre(int cx, int cy) {
    return FPoint(cx * S + S / 2.0f, cy * S + S / 2.0f);
}

// A room drawn row 0 (the lowest y) first: '#' wall, 'h' a cell that always
// kills, 't' a running trap's cell, 'S' the unit, 'T' the target; 'Y' and 'X'
// are the unit and the target on a running trap's cell, 'H' the target in a
// cell that always kills, 'W' the target in a wall.
struct Room {
    Zarn::CellGrid grid;
    CellHazards hazards;
    std::vector<Rect> rectangles;
    Point start;
    Point target;

    explicit Room(const std::vector<std::string>& rows) {
        std::vector<std::string> walls = rows;
        for (auto& row : walls) {
            for (char& c : row) c = c == '#' || c == 'W' ? '#' : '.';
        }
        zarn_test::drawGrid(grid, walls, S);
        hazards = CellHazards(grid.getColumns(), grid.getRows());
        bool anyWall = false;
        for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
            for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
                const char c = rows[y][x];
                if (c == 'h' || c == 'H') hazards.raise(x, y, CellHazards::Danger::always);
                if (c == 't' || c == 'X' || c == 'Y') hazards.raise(x, y, CellHazards::Danger::sometimes);
                if (c == 'S' || c == 'Y') start = Point(static_cast<i16>(x), static_cast<i16>(y));
                if (c == 'T' || c == 'X' || c == 'H' || c == 'W')
                    target = Point(static_cast<i16>(x), static_cast<i16>(y));
                anyWall = anyWall || c == '#' || c == 'W';
            }
        }
        // The rooms with walls are walked by search alone.
        if (!anyWall) rectangles.push_back(Rect(grid.getColumns(), grid.getRows(), Point(0, 0)));
    }
};

// The unit's walk as the planner installed it: the points it heads for in
// turn, starting from where it stands.
std::vector<FPoint> installedWalk(Zarn::SteerableUnit& unit) {
    std::vector<FPoint> walk{unit.body().position};
    unit.motion.steering.forEach([&](Zarn::Steering& s) {
        if (auto* arrival = dynamic_cast<Zarn::Arrival*>(&s)) walk.push_back(arrival->target);
        if (auto* path = dynamic_cast<Zarn::PathedSteering*>(&s))
            walk.insert(walk.end(), path->waypoints.begin(), path->waypoints.end());
    });
    return walk;
}

// The closest the walk comes to a cell of at least the given danger (other
// than the unit's and the target's), in map units; a large value when none.
float closestApproach(const std::vector<FPoint>& walk, const Room& room, CellHazards::Danger danger) {
    float closest = 1e9f;
    for (std::size_t i = 1; i < walk.size(); ++i) {
        const FPoint a = walk[i - 1];
        const FPoint b = walk[i];
        const int steps = std::max(1, static_cast<int>(std::hypot(b.x - a.x, b.y - a.y)));
        for (int k = 0; k <= steps; ++k) {
            const float px = a.x + (b.x - a.x) * static_cast<float>(k) / static_cast<float>(steps);
            const float py = a.y + (b.y - a.y) * static_cast<float>(k) / static_cast<float>(steps);
            for (int x = 0; x < static_cast<int>(room.grid.getColumns()); ++x) {
                for (int y = 0; y < static_cast<int>(room.grid.getRows()); ++y) {
                    if (static_cast<int>(room.hazards.at(x, y)) < static_cast<int>(danger)) continue;
                    if ((x == room.start.x && y == room.start.y) ||
                        (x == room.target.x && y == room.target.y))
                        continue;
                    const float dx = std::max(
                        {static_cast<float>(x * S) - px, 0.0f, px - static_cast<float>((x + 1) * S)});
                    const float dy = std::max(
                        {static_cast<float>(y * S) - py, 0.0f, py - static_cast<float>((y + 1) * S)});
                    closest = std::min(closest, std::hypot(dx, dy));
                }
            }
        }
    }
    return closest;
}

enum class Walk {
    // Reaches the target keeping a quarter cell from every killing cell.
    round,
    // Reaches the target over running traps, keeping a quarter cell from
    // cells that always kill.
    over,
    // Reaches the target keeping a quarter cell from cells that always kill;
    // it may pass over running traps.
    clearOfHoles,
    // Nothing installed: the unit stands.
    none,
};

struct Case {
    const char* name;
    std::vector<std::string> rows;
    Walk walk;
};

TEST(HazardPlanning, WalksNeverEnterCellsThatKill) {
    const Case cases[] = {
        {"a hole between",
         {
             ".....",
             "S.h.T",
             ".....",
         },
         Walk::round},
        {"a running trap between, a short way round",
         {
             ".....",
             "S.t.T",
             ".....",
         },
         Walk::round},
        {"a hole's corner beside the diagonal",
         {
             "S...",
             ".h..",
             "...T",
         },
         Walk::round},
        {"holes beside a gap in a wall",
         {
             "..h...",
             "S.#..T",
             "..#h..",
             "......",
         },
         Walk::round},
        {"a hole in the straight line, the rest of the room open",
         {
             "......",
             "S..h.T",
             "......",
             "......",
         },
         Walk::round},
        {"a wall of running traps",
         {
             "..t..",
             "S.t.T",
             "..t..",
         },
         Walk::over},
        {"running traps with a gap far away",
         {
             ".StT.",
             "..t..",
             "..t..",
             "..t..",
             ".....",
         },
         Walk::over},
        {"a running trap under the target",
         {
             ".....",
             "S.h.X",
             ".....",
         },
         Walk::round},
        {"the unit on a running trap",
         {
             ".....",
             "Y.h.T",
             ".....",
         },
         Walk::round},
        {"no safe way: a wall of holes",
         {
             "..h..",
             "S.h.T",
             "..h..",
         },
         Walk::none},
        {"the target in a hole",
         {
             ".....",
             "S...H",
             ".....",
         },
         Walk::none},
        {"a click on a wall beyond a hole",
         {
             ".....#",
             "S..h.W",
             ".....#",
         },
         Walk::round},
        {"a long diagonal past holes and traps",
         {
             ".h.....h.",
             "..t..#...",
             "...t.hS#.",
             "..h..h#.#",
             ".Thh##..h",
             ".t.t.....",
             "...t.#.#h",
         },
         Walk::clearOfHoles},
        {"a long diagonal between holes",
         {
             "...#h...h",
             ".h..h..hh",
             ".t..t.t..",
             "..tt.T#..",
             ".h..#....",
             ".S.t##.h.",
             "h.t.h.h..",
         },
         Walk::clearOfHoles},
        {"holes and running traps: over the traps, never the holes",
         {
             "..h..",
             "S.t.T",
             "..h..",
         },
         Walk::over},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Room room(c.rows);
        Zarn::SteerableUnit unit{1};
        unit.body().position = centre(room.start.x, room.start.y);
        JPSMovePlanner planner(unit, room.grid, room.rectangles, &room.hazards);
        const FPoint target = centre(room.target.x, room.target.y);
        planner.planMove(target);
        const std::vector<FPoint> walk = installedWalk(unit);
        if (c.walk == Walk::none) {
            EXPECT_EQ(walk.size(), 1u) << "the unit stands";
            continue;
        }
        ASSERT_GE(walk.size(), 2u);
        if (room.grid.isFree(target)) {
            EXPECT_EQ(walk.back(), target);
        } else {
            const Point last = room.grid.toCell(Point(walk.back()));
            EXPECT_LE(std::max(std::abs(last.x - room.target.x), std::abs(last.y - room.target.y)), 1)
                << "up to the wall";
            EXPECT_TRUE(room.grid.isFree(Point(walk.back())));
        }
        EXPECT_GE(closestApproach(walk, room, CellHazards::Danger::always), S / 4.0f);
        const float fromTraps = closestApproach(walk, room, CellHazards::Danger::sometimes);
        if (c.walk == Walk::round) {
            EXPECT_GE(fromTraps, S / 4.0f);
        } else if (c.walk == Walk::over) {
            EXPECT_EQ(fromTraps, 0.0f) << "the walk crosses a running trap";
        }
    }
}

// Rooms of seeded random walls, holes and running traps, each walked between
// random free cells: every walk keeps a quarter cell from cells that always
// kill.
TEST(HazardPlanning, RandomRoomsNeverLeadIntoAHole) {
    std::mt19937 rng(33);
    std::uniform_int_distribution<int> kind(0, 19);
    int walked = 0;
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> rows(7, std::string(9, '.'));
        for (auto& row : rows) {
            for (char& c : row) {
                const int k = kind(rng);
                c = k < 2 ? '#' : (k < 5 ? 'h' : (k < 7 ? 't' : '.'));
            }
        }
        std::uniform_int_distribution<int> x(0, 8);
        std::uniform_int_distribution<int> y(0, 6);
        const int sx = x(rng), sy = y(rng), tx = x(rng), ty = y(rng);
        if ((sx == tx && sy == ty) || rows[sy][sx] != '.' || rows[ty][tx] != '.') continue;
        rows[sy][sx] = 'S';
        rows[ty][tx] = 'T';
        SCOPED_TRACE(testing::Message() << "round " << round);
        Room room(rows);
        Zarn::SteerableUnit unit{1};
        unit.body().position = centre(sx, sy);
        JPSMovePlanner planner(unit, room.grid, room.rectangles, &room.hazards);
        planner.planMove(centre(tx, ty));
        const std::vector<FPoint> walk = installedWalk(unit);
        if (walk.size() < 2) continue;
        ++walked;
        EXPECT_EQ(walk.back(), centre(tx, ty));
        EXPECT_GE(closestApproach(walk, room, CellHazards::Danger::always), S / 4.0f);
    }
    EXPECT_GT(walked, 50);
}

// Without hazards (or with none in danger) the planner walks as in a room
// without traps: straight through where a hole would be.
TEST(HazardPlanning, NoHazardsPlanAsBefore) {
    Room room({"S.h.T"});
    const CellHazards none(room.grid.getColumns(), room.grid.getRows());
    for (const CellHazards* hazards : {static_cast<const CellHazards*>(nullptr), &none}) {
        Zarn::SteerableUnit unit{1};
        unit.body().position = centre(0, 0);
        JPSMovePlanner planner(unit, room.grid, room.rectangles, hazards);
        planner.planMove(centre(4, 0));
        EXPECT_EQ(installedWalk(unit), (std::vector<FPoint>{centre(0, 0), centre(4, 0)}));
    }
}

}  // namespace
