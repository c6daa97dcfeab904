#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <unordered_set>

#include "GridTestSupport.h"
#include "grid/AStarJPSPathFinder.h"
#include "grid/AStarPathFinder.h"

using GeometryLib::Point;
using Zarn::AStarJPSPathFinder;
using Zarn::AStarPathFinder;
using Zarn::CellGrid;

namespace {

constexpr i16 S = 16;

Point at(int cx, int cy) {
    return Point(static_cast<i16>(cx * S + 8), static_cast<i16>(cy * S + 8));
}

// The chain from the goal back to the start, goal first; empty when the goal
// has no entry or the chain does not end at the start within bounds.
std::vector<Point> chain(const AStarPathFinder::PathMap& cameFrom, const Point& start, const Point& goal) {
    std::vector<Point> out;
    auto it = cameFrom.find(goal);
    if (it == cameFrom.end()) return out;
    Point cur = goal;
    out.push_back(cur);
    for (std::size_t guard = 0; guard <= cameFrom.size() + 1; ++guard) {
        if (cur == start) return out;
        it = cameFrom.find(cur);
        if (it == cameFrom.end()) return {};
        cur = it->second;
        out.push_back(cur);
    }
    return {};
}

// Cells reachable from a cell by single steps that canStep allows.
bool reachable(const CellGrid& grid, const Point& start, const Point& goal) {
    std::unordered_set<Point, GeometryLib::PointHash> seen{start};
    std::deque<Point> queue{start};
    while (!queue.empty()) {
        const Point p = queue.front();
        queue.pop_front();
        if (grid.sameCell(p, goal)) return true;
        for (const Point& d : grid.neighbourOffsets()) {
            if (grid.canStep(d, p) && seen.insert(p + d).second) queue.push_back(p + d);
        }
    }
    return false;
}

// Each link of the chain (read from the start toward the goal) must be a
// straight or diagonal line of single allowed steps; the last link ends in the
// goal's cell. Returns an empty string when the path is sound.
std::string checkPath(const CellGrid& grid, const std::vector<Point>& goalFirst) {
    if (goalFirst.empty()) return "no path";
    for (std::size_t i = goalFirst.size() - 1; i > 0; --i) {
        const Point from = goalFirst[i];
        const Point to = goalFirst[i - 1];
        const bool last = i == 1;
        const int dx = to.x - from.x;
        const int dy = to.y - from.y;
        const Point cellTo = grid.toCell(to);
        const Point cellFrom = grid.toCell(from);
        const int cdx = cellTo.x - cellFrom.x;
        const int cdy = cellTo.y - cellFrom.y;
        if (!last && (dx % S != 0 || dy % S != 0)) return "off-grid link";
        if (cdx != 0 && cdy != 0 && std::abs(cdx) != std::abs(cdy)) return "bent link";
        const Point d(static_cast<i16>(cdx > 0 ? S : (cdx < 0 ? -S : 0)),
                      static_cast<i16>(cdy > 0 ? S : (cdy < 0 ? -S : 0)));
        Point cur = from;
        const int steps = std::max(std::abs(cdx), std::abs(cdy));
        for (int k = 0; k < steps; ++k) {
            if (!grid.canStep(d, cur)) return "blocked step";
            cur = cur + d;
        }
        if (!grid.sameCell(cur, to)) return "link misses its end";
    }
    return "";
}

class PathFinderFixture : public ::testing::Test {
protected:
    void draw(const std::vector<std::string>& rows) { zarn_test::drawGrid(grid, rows, S); }
    CellGrid grid;
};

}  // namespace

TEST_F(PathFinderFixture, SameCellStopsAtOnce) {
    draw({"...", "...", "..."});
    AStarPathFinder finder(grid);
    const auto result = finder.findPath(Point(20, 20), Point(30, 17));
    ASSERT_EQ(result.count(Point(30, 17)), 1u);
    EXPECT_EQ(result.at(Point(30, 17)), Point(20, 20));
    EXPECT_EQ(result.count(Point(20, 20)), 0u);
    AStarJPSPathFinder jps(grid);
    EXPECT_EQ(jps.findPath(Point(20, 20), Point(30, 17)).at(Point(30, 17)), Point(20, 20));
}

TEST_F(PathFinderFixture, StraightCorridorChainsEveryCell) {
    draw({"#######", "......#", "#######"});
    AStarPathFinder finder(grid);
    const Point start(8, 24);
    const Point goal(8 + 5 * S, 24);
    const auto path = chain(finder.findPath(start, goal), start, goal);
    ASSERT_EQ(path.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(path[5 - k], Point(static_cast<i16>(8 + k * S), 24));
        if (k < 5) {
            EXPECT_EQ(finder.costOf(path[5 - k]), k * S);
        }
    }
}

TEST_F(PathFinderFixture, DiagonalsCostTwentyTwoAndCutOneCorner) {
    draw({"...", "...", "..."});
    AStarPathFinder finder(grid);
    const auto result = finder.findPath(at(0, 0), at(2, 2));
    EXPECT_EQ(chain(result, at(0, 0), at(2, 2)), (std::vector<Point>{at(2, 2), at(1, 1), at(0, 0)}));
    EXPECT_EQ(finder.costOf(at(1, 1)), 22);
    EXPECT_EQ(finder.costOf(at(1, 0)), 16);

    draw({
        ".#",
        "..",
    });  // (1,0) solid, (0,1) free: the corner may be cut
    EXPECT_EQ(chain(finder.findPath(at(0, 0), at(1, 1)), at(0, 0), at(1, 1)),
              (std::vector<Point>{at(1, 1), at(0, 0)}));
    draw({".#", "#."});  // both side cells solid
    EXPECT_EQ(finder.findPath(at(0, 0), at(1, 1)).count(at(1, 1)), 0u);
}

TEST_F(PathFinderFixture, UnreachableGoalsHaveNoEntry) {
    draw({".....", ".###.", ".#.#.", ".###.", "....."});
    AStarPathFinder astar(grid);
    AStarJPSPathFinder jps(grid);
    for (Point goal : {at(2, 2), Point(-8, 8), Point(200, 8), Point(8, 32000)}) {
        EXPECT_EQ(astar.findPath(at(0, 0), goal).count(goal), 0u);
        EXPECT_EQ(jps.findPath(at(0, 0), goal).count(goal), 0u);
    }
}

TEST_F(PathFinderFixture, StraightJumpStopsWhereTheSideWallEnds) {
    // Row 1 is a corridor; the wall above it (row 2) ends after column 3.
    draw({
        "########",
        "........",
        "####....",
        "########",
    });
    AStarJPSPathFinder jps(grid);
    jps.reset(at(0, 1), at(7, 1 + 10));  // a goal out of the way
    const auto next = jps.successors(at(0, 1));
    EXPECT_NE(std::find(next.begin(), next.end(), at(3, 1)), next.end());
    EXPECT_EQ(std::find(next.begin(), next.end(), at(7, 1)), next.end());
    EXPECT_EQ(jps.getJumpPoints().count(at(3, 1)), 1u);
}

TEST_F(PathFinderFixture, JumpPointPathAroundAWall) {
    draw({
        "........",
        "...#....",
        "...#....",
        "...#....",
        "........",
    });
    AStarJPSPathFinder jps(grid);
    const auto path = chain(jps.findPath(at(1, 2), at(6, 2)), at(1, 2), at(6, 2));
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(checkPath(grid, path), "");
    // In an open room a straight jump runs into the goal's cell: no node in between.
    draw({"..............", "..............", ".............."});
    EXPECT_EQ(chain(jps.findPath(at(0, 1), at(13, 1)), at(0, 1), at(13, 1)),
              (std::vector<Point>{at(13, 1), at(0, 1)}));
}

TEST_F(PathFinderFixture, BrokenGridsFindNothingAndDoNotCrash) {
    for (const Zarn::MapProperties& p : {Zarn::MapProperties(64, 64, 0), Zarn::MapProperties(0, 0, 16)}) {
        grid.setProperties(p);
        grid.resize();
        AStarPathFinder astar(grid);
        AStarJPSPathFinder jps(grid);
        EXPECT_EQ(astar.findPath(Point(8, 8), Point(40, 40)).count(Point(40, 40)), p.cellSize == 0 ? 1u : 0u);
        EXPECT_EQ(jps.findPath(Point(8, 8), Point(40, 40)).count(Point(40, 40)), p.cellSize == 0 ? 1u : 0u);
    }
}

// Random small rooms: whatever A* and the jump-point search return is a sound
// path from the start to the goal, A* finds a path exactly when one exists,
// and the jump-point search finds one wherever A* does.
TEST_F(PathFinderFixture, RandomRoomsPathsAreSoundAndComplete) {
    std::mt19937 rng(20261209);
    int withPath = 0;
    const int rounds = std::getenv("ZARN_PATH_ROUNDS") ? std::atoi(std::getenv("ZARN_PATH_ROUNDS")) : 3000;
    const int maxSide = std::getenv("ZARN_PATH_SIDE") ? std::atoi(std::getenv("ZARN_PATH_SIDE")) : 14;
    for (int round = 0; round < rounds; ++round) {
        const int w = std::uniform_int_distribution<int>(2, maxSide)(rng);
        const int h = std::uniform_int_distribution<int>(2, maxSide)(rng);
        const double density = std::uniform_real_distribution<double>(0.0, 0.45)(rng);
        std::vector<std::string> rows(h, std::string(w, '.'));
        for (auto& row : rows) {
            for (char& c : row) c = std::bernoulli_distribution(density)(rng) ? '#' : '.';
        }
        auto pick = [&] {
            return Point(static_cast<i16>(std::uniform_int_distribution<int>(0, w * S - 1)(rng)),
                         static_cast<i16>(std::uniform_int_distribution<int>(0, h * S - 1)(rng)));
        };
        const Point start = pick();
        const Point goal = pick();
        draw(rows);
        // The search's own offset within a cell: the goal is reached through the node in its cell.
        const bool exists = reachable(grid, start, goal);
        AStarPathFinder astar(grid);
        AStarJPSPathFinder jps(grid);
        const auto a = chain(astar.findPath(start, goal), start, goal);
        const auto j = chain(jps.findPath(start, goal), start, goal);
        std::string picture;
        for (int y = h - 1; y >= 0; --y) picture += rows[y] + "\n";
        const std::string where = "round " + std::to_string(round) + " start " + std::to_string(start.x) +
                                  "," + std::to_string(start.y) + " goal " + std::to_string(goal.x) + "," +
                                  std::to_string(goal.y) + "\n" + picture;
        ASSERT_EQ(!a.empty(), exists) << where;
        ASSERT_EQ(!j.empty(), !a.empty()) << where;
        if (exists) {
            ++withPath;
            ASSERT_EQ(checkPath(grid, a), "") << where;
            ASSERT_EQ(checkPath(grid, j), "") << where;
        }
    }
    EXPECT_GT(withPath, 1000);
}

TEST_F(PathFinderFixture, RandomMazesPathsAreSoundAndComplete) {
    std::mt19937 rng(77);
    for (int round = 0; round < 300; ++round) {
        const int cx = std::uniform_int_distribution<int>(2, 12)(rng);
        const int cy = std::uniform_int_distribution<int>(2, 12)(rng);
        const auto rows =
            zarn_test::makeMaze(cx, cy, std::uniform_real_distribution<double>(0.0, 0.3)(rng), rng);
        draw(rows);
        const int w = static_cast<int>(rows[0].size());
        const int h = static_cast<int>(rows.size());
        for (int pair = 0; pair < 10; ++pair) {
            const Point start = at(std::uniform_int_distribution<int>(0, w - 1)(rng),
                                   std::uniform_int_distribution<int>(0, h - 1)(rng));
            const Point goal = at(std::uniform_int_distribution<int>(0, w - 1)(rng),
                                  std::uniform_int_distribution<int>(0, h - 1)(rng));
            const bool exists = reachable(grid, start, goal);
            AStarPathFinder astar(grid);
            AStarJPSPathFinder jps(grid);
            const auto a = chain(astar.findPath(start, goal), start, goal);
            const auto j = chain(jps.findPath(start, goal), start, goal);
            ASSERT_EQ(!a.empty(), exists) << "round " << round;
            ASSERT_EQ(!j.empty(), exists) << "round " << round;
            if (exists) {
                ASSERT_EQ(checkPath(grid, a), "") << "round " << round;
                ASSERT_EQ(checkPath(grid, j), "") << "round " << round;
            }
        }
    }
}

// The scan in cell coordinates must give exactly the jump points of the
// point-by-point scan: same predecessor maps and jump-point sets, for odd cell
// sizes, points anywhere in a cell, starts and goals outside the room, and
// cells so large that their points reach past 32767.
TEST(JumpPointScan, CellScanMatchesPointScan) {
    std::mt19937 rng(4242);
    int compared = 0;
    for (int round = 0; round < 4000; ++round) {
        const u32 sizes[] = {16, 1, 7, 5000};
        const u32 s = sizes[round % 4];
        const int w = std::uniform_int_distribution<int>(2, s == 5000 ? 7 : 16)(rng);
        const int h = std::uniform_int_distribution<int>(2, s == 5000 ? 6 : 16)(rng);
        const double density = std::uniform_real_distribution<double>(0.0, 0.4)(rng);
        std::vector<std::string> rows(h, std::string(w, '.'));
        for (auto& row : rows) {
            for (char& c : row) c = std::bernoulli_distribution(density)(rng) ? '#' : '.';
        }
        CellGrid grid;
        zarn_test::drawGrid(grid, rows, s);
        const int extentX = std::min<int>(w * static_cast<int>(s), 32767);
        const int extentY = std::min<int>(h * static_cast<int>(s), 32767);
        auto pick = [&] {
            const bool outside = std::bernoulli_distribution(0.05)(rng);
            return Point(
                static_cast<i16>(std::uniform_int_distribution<int>(outside ? -40 : 0, extentX - 1)(rng)),
                static_cast<i16>(std::uniform_int_distribution<int>(0, extentY - 1)(rng)));
        };
        const Point start = pick();
        const Point goal = pick();
        AStarJPSPathFinder cells(grid);
        AStarJPSPathFinder points(grid);
        points.setCellScan(false);
        const auto a = cells.findPath(start, goal);
        const auto b = points.findPath(start, goal);
        ASSERT_EQ(a, b) << "round " << round;
        ASSERT_EQ(cells.getJumpPoints(), points.getJumpPoints()) << "round " << round;
        compared += a.count(goal) != 0 ? 1 : 0;
    }
    EXPECT_GT(compared, 1000);
}

// The same comparison where scans cross the 64-cell words of the blocked
// bits: rooms wider and taller than a word, few blockers so that scans run
// long, and cells of 300 units whose points pass 32767 inside a word (from
// cell 109 or 110 on, by the offset), with blockers only past that limit
// (points there must count as blocked). One finder of each kind serves all
// searches of a room, so the jump points of one search must be cleared for
// the next.
TEST(JumpPointScan, WordScanMatchesPointScanAcrossWords) {
    struct Room {
        u32 cellSize;
        int columns;
        int rows;
        double density;
        // Cells with x or y from here on are blocked at 30 %.
        int denseFrom;
    };
    const Room rooms[] = {{16, 130, 70, 0.0, 999},    {16, 200, 90, 0.02, 999}, {16, 70, 200, 0.05, 999},
                          {1, 150, 150, 0.1, 999},    {300, 120, 66, 0.0, 999}, {300, 130, 130, 0.0, 109},
                          {300, 128, 128, 0.02, 999}, {16, 129, 129, 0.3, 999}};
    std::mt19937 rng(6464);
    int found = 0;
    for (const Room& room : rooms) {
        std::vector<std::string> rows(room.rows, std::string(room.columns, '.'));
        for (int y = 0; y < room.rows; ++y) {
            for (int x = 0; x < room.columns; ++x) {
                const bool dense = x >= room.denseFrom || y >= room.denseFrom;
                rows[y][x] = std::bernoulli_distribution(dense ? 0.3 : room.density)(rng) ? '#' : '.';
            }
        }
        CellGrid grid;
        zarn_test::drawGrid(grid, rows, room.cellSize);
        const int extentX = std::min<int>(room.columns * static_cast<int>(room.cellSize), 32767);
        const int extentY = std::min<int>(room.rows * static_cast<int>(room.cellSize), 32767);
        auto pick = [&] {
            return Point(static_cast<i16>(std::uniform_int_distribution<int>(0, extentX - 1)(rng)),
                         static_cast<i16>(std::uniform_int_distribution<int>(0, extentY - 1)(rng)));
        };
        AStarJPSPathFinder cells(grid);
        AStarJPSPathFinder points(grid);
        points.setCellScan(false);
        for (int search = 0; search < 12; ++search) {
            const Point start = pick();
            const Point goal = pick();
            const auto a = cells.findPath(start, goal);
            ASSERT_EQ(a, points.findPath(start, goal))
                << room.columns << "x" << room.rows << " search " << search;
            ASSERT_EQ(cells.getJumpPoints(), points.getJumpPoints()) << room.columns << "x" << room.rows;
            found += a.count(goal) != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(found, 50);
}

// A finder that serves many searches answers each as a fresh one would (its
// jump-point bits are reused and cleared between searches).
TEST(JumpPointScan, ReusedFinderMatchesFreshFinders) {
    std::mt19937 rng(99);
    CellGrid grid;
    zarn_test::drawGrid(grid, zarn_test::makeMaze(8, 8, 0.2, rng), 16);
    AStarJPSPathFinder reused(grid);
    std::uniform_int_distribution<int> coordinate(0, 17 * 16 - 1);
    for (int search = 0; search < 600; ++search) {
        const Point start(static_cast<i16>(coordinate(rng)), static_cast<i16>(coordinate(rng)));
        const Point goal(static_cast<i16>(coordinate(rng)), static_cast<i16>(coordinate(rng)));
        AStarJPSPathFinder fresh(grid);
        ASSERT_EQ(reused.findPath(start, goal), fresh.findPath(start, goal)) << "search " << search;
    }
}
