#include <gtest/gtest.h>

#include <algorithm>

#include "../support/MapImportTestSupport.h"
#include "map/import/MapComponentsImporter.h"
#include "support/map/FixtureMaps.h"
#include "support/map/MapBuilder.h"
#include "support/map/SampleRecords.h"

using namespace Zarn;
using namespace zarn_test;
using GeometryLib::Point;
using GeometryLib::Rect;

namespace {

MapBuilder fixtureMap() {
    return everySectionMap();
}

template <class A, class B>
void expectSameRecords(const std::vector<std::unique_ptr<A>>& read,
                       const std::vector<std::unique_ptr<B>>& written) {
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_TRUE(sameRecord(*read[i], *written[i])) << "record " << i << " " << typeid(*written[i]).name();
    }
}

}  // namespace

TEST(MapComponentsImporter, AFixtureUsingEverySectionReadsBackAsWritten) {
    GameMap map;
    ASSERT_EQ(importInto(map, fixtureMap().bytes()), "no error");

    EXPECT_EQ(map.header.name, "lab_fixture");
    EXPECT_EQ(map.header.spawnPoint, Point(100, 40));

    EXPECT_EQ(map.grid.getProperties(), MapProperties(96, 64, 16));
    const char* rows[] = {"#####.", "#....#", "#..#.#", "######"};
    for (i16 y = 0; y < 4; ++y) {
        for (i16 x = 0; x < 6; ++x) {
            EXPECT_EQ(map.grid.cellAt(Point(x * 16, y * 16)), rows[y][x] == '#' ? 1 : 0) << x << "," << y;
        }
    }
    EXPECT_EQ(map.maximalRectangles, (std::vector<Rect>{Rect(4, 2, Point(1, 1)), Rect(1, 1, Point(4, 2))}));

    expectSameRecords(map.trapRecords, sampleTrapRecords());
    expectSameRecords(map.trapGroupRecords, sampleTrapGroupRecords());
    expectSameRecords(map.mapElements, sampleElementRecords());
    const std::vector<MapEventData> events = sampleEvents();
    ASSERT_EQ(map.mapEvents.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        EXPECT_TRUE(sameRecord(*map.mapEvents[i], events[i])) << i;

    ASSERT_EQ(map.dialogs.size(), 2u);
    EXPECT_TRUE(sameRecord(map.dialogs.at(7), DialogEntry("Hello&&there", "tali", 7, Point(64, 32))));
    EXPECT_TRUE(sameRecord(map.dialogs.at(9), DialogEntry("", "", 9, Point(0, 0))));

    ASSERT_EQ(map.zOrders.size(), 2u);
    EXPECT_TRUE(sameRecord(map.zOrders[0], ZOrder(1, "floor", 0, 1)));
    EXPECT_TRUE(sameRecord(map.zOrders[1], ZOrder(2, "walls_front", 3, 4)));

    EXPECT_EQ(map.cameraRegions.regions,
              (std::vector<Rect>{Rect(96, 64, Point(0, 0)), Rect(32, 64, Point(96, 0))}));
    ASSERT_EQ(map.cameraRegions.transitions.size(), 2u);
    EXPECT_EQ(map.cameraRegions.transitions[0],
              (std::vector<TransitionRegion>{TransitionRegion(1, Rect(16, 16, Point(80, 16)))}));
    EXPECT_TRUE(map.cameraRegions.transitions[1].empty());

    // Solid cells block, free ones do not; the solid decoration (ID 172, 48 x 16
    // at (320, 96), outside this small room) has its own blockable.
    EXPECT_NE(map.blockables.blockerAt(GeometryLib::FPoint(8, 8)), nullptr);
    EXPECT_EQ(map.blockables.blockerAt(GeometryLib::FPoint(24, 24)), nullptr);
    EXPECT_NE(map.blockables.blockerAt(GeometryLib::FPoint(330, 100)), nullptr);
}

TEST(MapComponentsImporter, AFileEndingAfterAnyWholeSectionLoadsWithTheRestEmpty) {
    const MapBuilder builder = fixtureMap();
    for (int last = 0; last <= static_cast<int>(MapBuilder::Section::cameraRegions); ++last) {
        SCOPED_TRACE(last);
        GameMap map;
        ASSERT_EQ(importInto(map, builder.bytesThrough(static_cast<MapBuilder::Section>(last))), "no error");
        EXPECT_EQ(map.header.name, "lab_fixture");
        EXPECT_EQ(map.trapRecords.empty(), last < 2);
        EXPECT_EQ(map.mapEvents.empty(), last < 3);
        EXPECT_EQ(map.mapElements.empty(), last < 4);
        EXPECT_EQ(map.dialogs.empty(), last < 5);
        EXPECT_EQ(map.zOrders.empty(), last < 6);
        EXPECT_EQ(map.cameraRegions.regions.empty(), last < 7);
        if (last == 0) {
            EXPECT_EQ(map.grid.getProperties(), MapProperties(3, 3, 1))
                << "a header-only map keeps the defaults";
            EXPECT_EQ(map.grid.getColumns(), 0u);
        }
    }
}

TEST(MapComponentsImporter, EveryTruncationInsideASectionIsRefusedWithOneClearError) {
    const MapBuilder builder = fixtureMap();
    const std::vector<u8> whole = builder.bytes();
    std::vector<std::size_t> boundaries;
    for (int last = 0; last <= static_cast<int>(MapBuilder::Section::cameraRegions); ++last) {
        boundaries.push_back(builder.bytesThrough(static_cast<MapBuilder::Section>(last)).size());
    }
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const std::vector<u8> prefix(whole.begin(), whole.begin() + n);
        GameMap map;
        const std::string error = importInto(map, prefix);
        if (std::find(boundaries.begin(), boundaries.end(), n) != boundaries.end()) {
            EXPECT_EQ(error, "no error") << n;
        } else {
            EXPECT_EQ(error, n < boundaries[0] ? "bad map header" : "bad map") << n;
        }
    }
}

TEST(MapComponentsImporter, AMissingOrLyingHeaderIsRefused) {
    const std::vector<std::vector<u8>> headers = {
        {},                      // no file
        u32Bytes({1000}),        // length past the end
        u32Bytes({8, 100, 0}),   // name length past the record
        u32Bytes({0xFFFFFFFF}),  // huge length
        u32Bytes({3, 0}),        // a record too short for a name and a point
    };
    for (const std::vector<u8>& bytes : headers) {
        GameMap map;
        EXPECT_EQ(importInto(map, bytes), "bad map header") << bytes.size();
    }
}
