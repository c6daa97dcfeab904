#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

#include "GridTestSupport.h"
#include "grid/CellGrid.h"

using GeometryLib::FPoint;
using GeometryLib::Point;
using Zarn::CellGrid;
using Zarn::MapProperties;

TEST(MapProperties, ByteFormIsThreeWords) {
    const MapProperties p(320, 192, 16);
    EXPECT_EQ(p.serializedSize(), 12u);
    const auto bytes = p.toBytes();
    EXPECT_EQ(bytes, (std::vector<u8>{0x40, 1, 0, 0, 0xC0, 0, 0, 0, 16, 0, 0, 0}));
    Convinience::ByteReader reader(bytes);
    EXPECT_EQ(MapProperties(reader), p);
    EXPECT_EQ(MapProperties(), MapProperties(3, 3, 1));
}

TEST(CellGrid, ResizeMakesWholeCellsAllFree) {
    CellGrid grid;
    grid.setProperties(MapProperties(320, 192, 16));
    grid.resize();
    EXPECT_EQ(grid.getColumns(), 20u);
    EXPECT_EQ(grid.getRows(), 12u);
    int cells = 0;
    grid.forEachCell([&](const Point&, Zarn::TileStatus& s) {
        EXPECT_EQ(s, 0);
        ++cells;
    });
    EXPECT_EQ(cells, 240);
}

TEST(CellGrid, ForEachCellWalksRowsOuterWithOrigins) {
    CellGrid grid;
    grid.setProperties(MapProperties(48, 32, 16));
    grid.resize();
    std::vector<Point> seen;
    grid.forEachCell([&](const Point& origin, Zarn::TileStatus&) { seen.push_back(origin); });
    EXPECT_EQ(seen, (std::vector<Point>{Point(0, 0), Point(16, 0), Point(32, 0), Point(0, 16), Point(16, 16),
                                        Point(32, 16)}));
}

TEST(CellGrid, ResizeKeepsCellsThatStay) {
    CellGrid grid;
    zarn_test::drawGrid(grid, {"..#", "#.."}, 16);
    grid.setProperties(MapProperties(32, 48, 16));
    grid.resize();
    EXPECT_EQ(grid.cellAt(Point(0, 16)), 1);
    EXPECT_EQ(grid.cellAt(Point(16, 0)), 0);
    EXPECT_EQ(grid.cellAt(Point(0, 32)), 0);
    EXPECT_THROW(grid.cellAt(Point(32, 0)), Zarn::InvalidGridCordinates);
}

TEST(CellGrid, ToCellAndSameCell) {
    CellGrid grid;
    grid.setProperties(MapProperties(320, 192, 16));
    grid.resize();
    EXPECT_EQ(grid.toCell(Point(47, 15)), Point(2, 0));
    EXPECT_TRUE(grid.sameCell(Point(47, 15), Point(33, 0)));
    EXPECT_FALSE(grid.sameCell(Point(47, 15), Point(48, 15)));
    // Negative coordinates divide as their sign-extended unsigned pattern.
    EXPECT_EQ(grid.toCell(Point(-1, 0)), Point(-1, 0));
}

TEST(CellGrid, CellAtChecksTheRoom) {
    CellGrid grid;
    zarn_test::drawGrid(grid, {"#.", ".."}, 16);
    EXPECT_EQ(grid.cellAt(Point(0, 0)), 1);
    EXPECT_EQ(grid.cellAt(Point(31, 31)), 0);
    for (Point p : {Point(-1, 0), Point(0, -1), Point(32, 0), Point(0, 32), Point(-32768, 5)}) {
        EXPECT_THROW(grid.checkCoordinates(p), Zarn::InvalidGridCordinates);
        EXPECT_THROW(grid.cellAt(p), Zarn::InvalidGridCordinates);
    }
}

TEST(CellGrid, PartialCellStripThrowsOutOfRangeAndIsNotFree) {
    CellGrid grid;
    grid.setProperties(MapProperties(40, 16, 16));  // 2.5 columns
    grid.resize();
    EXPECT_EQ(grid.getColumns(), 2u);
    try {
        grid.cellAt(Point(35, 0));
        FAIL() << "expected out_of_range";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid vector<T> subscript");
    }
    EXPECT_FALSE(grid.isFree(FPoint(35.0f, 0.0f)));
    EXPECT_FALSE(grid.canStep(Point(16, 0), Point(20, 0)));
}

TEST(CellGrid, IsFreeTruncatesTowardZeroAndNeverWraps) {
    CellGrid grid;
    zarn_test::drawGrid(grid, {"..", ".#"}, 16);
    struct Case {
        FPoint p;
        bool free;
    };
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case& c :
         {Case{{-0.5f, 3.0f}, true}, Case{{-1.0f, 3.0f}, false}, Case{{20.0f, 20.0f}, false},
          Case{{31.9f, 0.0f}, true}, Case{{32.0f, 0.0f}, false}, Case{{65541.0f, 3.0f}, false},
          Case{{3.0f, -65531.0f}, false}, Case{{1e20f, 3.0f}, false}, Case{{inf, 0.0f}, false},
          Case{{std::numeric_limits<float>::quiet_NaN(), 0.0f}, false}}) {
        EXPECT_EQ(grid.isFree(c.p), c.free) << c.p.x << ", " << c.p.y;
    }
}

TEST(CellGrid, NeighbourOffsetsInSearchOrder) {
    CellGrid grid;
    grid.setProperties(MapProperties(64, 64, 16));
    grid.resize();
    EXPECT_EQ(grid.neighbourOffsets(),
              (std::vector<Point>{Point(-16, 0), Point(0, 16), Point(16, 0), Point(0, -16), Point(16, 16),
                                  Point(-16, -16), Point(16, -16), Point(-16, 16)}));
}

TEST(CellGrid, CanStepStraightDiagonalAndCorners) {
    CellGrid grid;
    // Row 0 is y = 0 (the bottom row).
    zarn_test::drawGrid(grid,
                        {
                            "....",
                            "..#.",
                            ".#..",
                            "....",
                        },
                        16);
    const Point from(8, 8);  // cell (0, 0)
    struct Case {
        Point from, dir;
        bool ok;
    };
    for (const Case& c : {
             Case{from, Point(16, 0), true}, Case{from, Point(-16, 0), false},  // out of the room
             Case{from, Point(0, -16), false},                                  // out of the room
             Case{from, Point(-16, -16), false},                                // out of the room
             Case{Point(24, 8), Point(0, 16), true},                            // (1,0) -> (1,1): free
             Case{Point(8, 24), Point(16, 0), true},                            // (0,1) -> (1,1)
             Case{Point(24, 40), Point(0, -16), true},  // (1,2) solid source is not checked
             Case{Point(8, 40), Point(16, 0), false},   // into solid (1,2)
             // (1,1) -> (2,2): side cells (2,1) solid and (1,2) solid -> refused
             Case{Point(24, 24), Point(16, 16), false},
             // (0,0) -> (1,1): side cells (1,0) and (0,1) free
             Case{from, Point(16, 16), true},
             // (1,2)? start (0,3) -> (1,2) is solid
             Case{Point(8, 56), Point(16, -16), false},
             // (2,2) -> (3,3): side (3,2) free, (2,3) free
             Case{Point(40, 40), Point(16, 16), true},
             // (2,1) solid -> (3,0): from (2,1)? use (3,1) -> (2,0): sides (2,1) solid, (3,0) free -> one
             // free side
             Case{Point(56, 24), Point(-16, -16), true},
             Case{Point(56, 56), Point(16, 16), false},   // out of the room, no throw
             Case{Point(32760, 8), Point(16, 0), false},  // wraps past 16 bits
         }) {
        EXPECT_EQ(grid.canStep(c.dir, c.from), c.ok)
            << c.from.x << "," << c.from.y << " by " << c.dir.x << "," << c.dir.y;
    }
}

TEST(CellGrid, DiagonalBetweenTwoSolidSideCellsOnlyWhenOneIsFree) {
    CellGrid grid;
    zarn_test::drawGrid(grid, {".#", "#."}, 16);
    EXPECT_FALSE(grid.canStep(Point(16, 16), Point(8, 8)));
    zarn_test::drawGrid(grid, {"..", "#."}, 16);
    EXPECT_TRUE(grid.canStep(Point(16, 16), Point(8, 8)));
}

TEST(CellGrid, BrokenSizesHaveNoCellsAndAnswerBlocked) {
    struct Case {
        MapProperties p;
    };
    for (const MapProperties& p : {MapProperties(320, 192, 0), MapProperties(0, 0, 16),
                                   MapProperties(0xFFFFFFFFu, 16, 16), MapProperties(16, 16, 0xFFFFFFFFu)}) {
        CellGrid grid;
        grid.setProperties(p);
        grid.resize();
        EXPECT_LE(static_cast<u64>(grid.getColumns()) * p.cellSize, 32768u + p.cellSize);
        for (Point pt : {Point(0, 0), Point(8, 8), Point(32767, 0), Point(-1, -1)}) {
            for (Point d : grid.neighbourOffsets()) (void)grid.canStep(d, pt);
            (void)grid.isFree(FPoint(pt));
            (void)grid.toCell(pt);
        }
        if (p.cellSize == 0) {
            EXPECT_FALSE(grid.isFree(FPoint(8, 8)));
            EXPECT_EQ(grid.getColumns(), 0u);
        }
    }
    // A very wide room keeps only the columns that a 16-bit point can reach.
    CellGrid wide;
    wide.setProperties(MapProperties(0xFFFFFFFFu, 16, 16));
    wide.resize();
    EXPECT_EQ(wide.getColumns(), 2048u);
    EXPECT_TRUE(wide.isFree(FPoint(32767.0f, 8.0f)));
}

TEST(CellGrid, CellOfDividesExactlyForEverySixteenBitValue) {
    for (u32 s :
         {1u, 2u, 3u, 7u, 16u, 24u, 32u, 100u, 255u, 4097u, 32767u, 65535u, 65536u, 70000u, 0xFFFFFFFFu}) {
        CellGrid grid;
        grid.setProperties(MapProperties(64, 64, s));
        grid.resize();
        for (u32 v = 0; v <= 0xFFFF; ++v) {
            ASSERT_EQ(grid.cellOf(v), v / s) << v << " / " << s;
        }
    }
}

// The blocked bits by rows and by columns agree with the statuses after every
// way of writing them (drawing, writing through forEachCell, resizing), and
// the bits past the last column or row are set, for sizes around a word.
TEST(CellGrid, BlockedBitsFollowTheCells) {
    auto check = [](const CellGrid& grid) {
        const u32 columns = grid.getColumns();
        const u32 rows = grid.getRows();
        ASSERT_EQ(grid.getRowWords(), (columns + 63) / 64);
        ASSERT_EQ(grid.getColumnWords(), (rows + 63) / 64);
        for (u32 y = 0; y < rows; ++y) {
            for (u32 x = 0; x < grid.getRowWords() * 64; ++x) {
                const bool blocked =
                    x >= columns || grid.cellData()[static_cast<std::size_t>(x) * rows + y] != 0;
                ASSERT_EQ((grid.blockedRow(y)[x / 64] >> (x % 64)) & 1u, blocked ? 1u : 0u) << x << "," << y;
            }
        }
        for (u32 x = 0; x < columns; ++x) {
            for (u32 y = 0; y < grid.getColumnWords() * 64; ++y) {
                const bool blocked =
                    y >= rows || grid.cellData()[static_cast<std::size_t>(x) * rows + y] != 0;
                ASSERT_EQ((grid.blockedColumn(x)[y / 64] >> (y % 64)) & 1u, blocked ? 1u : 0u)
                    << x << "," << y;
            }
        }
    };
    std::mt19937 rng(64);
    for (const auto& [columns, rows] :
         {std::pair(1, 1), std::pair(63, 64), std::pair(64, 65), std::pair(65, 3), std::pair(130, 70)}) {
        std::vector<std::string> picture(rows, std::string(columns, '.'));
        for (auto& line : picture) {
            for (char& c : line) c = std::bernoulli_distribution(0.3)(rng) ? '#' : '.';
        }
        CellGrid grid;
        zarn_test::drawGrid(grid, picture, 16);
        check(grid);
        // Any non-zero status blocks.
        grid.forEachCell([&](const Point&, Zarn::TileStatus& s) { s = s == 0 ? 7 : 0; });
        check(grid);
        grid.setProperties(MapProperties((columns + 2) * 16, (rows + 1) * 16, 16));
        grid.resize();
        check(grid);
    }
}
