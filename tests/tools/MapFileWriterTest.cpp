#include <gtest/gtest.h>

#include "map/import/GameMap.h"
#include "map/import/MapComponentsImporter.h"
#include "support/map/FixtureMaps.h"
#include "tools/MapFileWriter.h"

using namespace Zarn;

namespace {

// A map read back into records and written again is the same file: the
// fixture that holds every section and every record class.
TEST(MapFileWriter, WritesBackEveryRecordOfAReadMapAsItWasRead) {
    const zarn_test::MapBuilder builder = zarn_test::everySectionMap();
    const std::vector<u8> bytes = builder.bytes();
    GameMap map;
    std::istringstream in = builder.stream();
    MapComponentsImporter(map).import(in);
    const MapContents read = contentsOf(map);
    EXPECT_EQ(writeMapFile(read), bytes);
    // A copy owns copies of the records.
    MapContents copy = read;
    copy.traps.front()->trapNumber += 1;
    EXPECT_EQ(writeMapFile(read), bytes);
    EXPECT_NE(writeMapFile(copy), bytes);
}

TEST(MapFileWriter, AFileMayEndAfterAnySection) {
    const MapContents contents = contentsOf(GameMap());
    std::size_t previous = 0;
    for (int s = 0; s <= static_cast<int>(MapSection::cameraRegions); ++s) {
        const std::vector<u8> upTo = writeMapFile(contents, static_cast<MapSection>(s));
        EXPECT_EQ(upTo.size(), previous + writeMapSection(contents, static_cast<MapSection>(s)).size());
        previous = upTo.size();
    }
}

}  // namespace
