#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "foundation/Geometry.h"
#include "foundation/GridCells.h"

using GeometryLib::FPoint;
using GeometryLib::Point;
using GeometryLib::Rect;

TEST(Point, KeyPacksXHighAndYLow) {
    struct Case {
        i16 x, y;
        u32 key;
    };
    for (Case c : {Case{3, 5, 0x00030005}, Case{-1, 2, 0xFFFF0002}, Case{5, -1, 0x0005FFFF}}) {
        const Point p(c.x, c.y);
        EXPECT_EQ(p.key, c.key);
        const auto bytes = p.toBytes();
        Convinience::ByteReader r(bytes);
        EXPECT_EQ(Point(r), p);
    }
    EXPECT_EQ(Point(5, -1).toBytes(), (std::vector<u8>{0xFF, 0xFF, 0x05, 0x00}));
}

TEST(Point, ConversionsAndWrappingArithmetic) {
    EXPECT_EQ(Point(FPoint(2.9f, -2.9f)), Point(2, -2));
    EXPECT_EQ(Point(FPoint(70000.0f, -1.0f)), Point(static_cast<i16>(70000 & 0xFFFF), -1))
        << "cut to 16 bits";
    EXPECT_EQ(Point(FPoint(1e20f, std::nanf(""))), Point(static_cast<i16>(0xFF80), 0))
        << "clamped, never undefined";
    EXPECT_EQ(FPoint(Point(-3, 4)), FPoint(-3.0f, 4.0f));
    const Point sum = Point(32767, 1) + Point(1, -2);
    EXPECT_EQ(sum, Point(-32768, -1));
    EXPECT_EQ(sum.key, Point::makeKey(-32768, -1));
    EXPECT_EQ(Point(0, 0) - Point(1, 1), Point(-1, -1));
}

TEST(Rect, RecordsRoundTripByteExactly) {
    const Rect r(3, 4, Point(1, -1));
    const auto bytes = r.toBytes();
    EXPECT_EQ(bytes, (std::vector<u8>{3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 1, 0}));
    Convinience::ByteReader reader(bytes);
    EXPECT_EQ(Rect(reader), r);

    const GeometryLib::FRect f(1.5f, 2.5f, FPoint(-1.0f, 8.0f));
    const auto fbytes = f.toBytes();
    ASSERT_EQ(fbytes.size(), 16u);
    Convinience::ByteReader freader(fbytes);
    EXPECT_EQ(GeometryLib::FRect(freader), f);
}

namespace {
std::vector<u32> sortedKeys(const GeometryLib::CellSet& cells) {
    std::vector<u32> keys;
    for (const Point& p : cells) keys.push_back(p.key);
    std::sort(keys.begin(), keys.end());
    return keys;
}
std::vector<u32> keysOf(std::initializer_list<Point> points) {
    GeometryLib::CellSet set(points.begin(), points.end());
    return sortedKeys(set);
}
}  // namespace

TEST(GridCells, CoveredByRectIncludesTheCellOnTheFarEdge) {
    EXPECT_EQ(sortedKeys(GeometryLib::cellsCoveredByRect(Point(0, 0), 32, 32, 32)),
              keysOf({Point(0, 0), Point(0, 1), Point(1, 0), Point(1, 1)}));
    EXPECT_EQ(sortedKeys(GeometryLib::cellsCoveredByRect(Point(33, 33), 10, 10, 32)), keysOf({Point(1, 1)}));
}

TEST(GridCells, CoveredByBoxTruncatesTowardZero) {
    EXPECT_EQ(sortedKeys(GeometryLib::cellsCoveredByBox(Point(48, 48), 32, 8.0f)), keysOf({Point(1, 1)}));
    EXPECT_EQ(sortedKeys(GeometryLib::cellsCoveredByBox(Point(32, 16), 32, 16.0f)),
              keysOf({Point(0, 0), Point(1, 0), Point(0, 1), Point(1, 1)}));
}

TEST(GridCells, ZeroTileSizeCoversNothing) {
    EXPECT_TRUE(GeometryLib::cellsCoveredByBox(Point(5, 5), 0, 3.0f).empty());
    EXPECT_TRUE(GeometryLib::cellsCoveredByRect(Point(5, 5), 3, 3, 0).empty());
}

TEST(Geometry, CoordinatesAreClampedIntoAPointsRangeBeforeTruncation) {
    struct Case {
        float value;
        float clamped;
        i16 coordinate;
    };
    const Case cases[] = {{std::nanf(""), 0.0f, 0},
                          {3.9f, 3.9f, 3},
                          {-2.7f, -2.7f, -2},
                          {1e9f, 32767.0f, 32767},
                          {-1e9f, -32768.0f, -32768},
                          {32767.5f, 32767.0f, 32767},
                          {-INFINITY, -32768.0f, -32768}};
    for (const Case& c : cases) {
        EXPECT_EQ(GeometryLib::clampToPointRange(c.value), c.clamped) << c.value;
        EXPECT_EQ(GeometryLib::clampedPointCoordinate(c.value), c.coordinate) << c.value;
    }
}
