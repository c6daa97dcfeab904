#include <gtest/gtest.h>

#include "map/import/GameMap.h"
#include "map/records/MultiplayerMapList.h"
#include "rooms/support/ShippedRooms.h"
#include "rooms/support/SolutionPlayer.h"
#include "tools/MapFileWriter.h"

namespace {

using Zarn::MapSection;

std::vector<u8> readAndWrite(const std::vector<u8>& bytes, Zarn::GameMap& map) {
    zarn_test::readRecords(bytes, map);
    return Zarn::writeMapFile(Zarn::contentsOf(map));
}

class ShippedMap : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        bytes = zarn_test::shippedMap(GetParam());
        ASSERT_FALSE(bytes.empty()) << "maps/" << GetParam() << ".map is not built";
    }
    std::vector<u8> bytes;
};

// Read, written back by the map writer and read again, every shipped map
// gives the same records: section by section, the second writing equals the
// first, and both equal the file as the room compiler wrote it.
TEST_P(ShippedMap, SurvivesARoundTripThroughTheMapRecords) {
    Zarn::GameMap first;
    const std::vector<u8> written = readAndWrite(bytes, first);
    Zarn::GameMap second;
    const std::vector<u8> rewritten = readAndWrite(written, second);
    const Zarn::MapContents a = Zarn::contentsOf(first);
    const Zarn::MapContents b = Zarn::contentsOf(second);
    for (int s = 0; s <= static_cast<int>(MapSection::cameraRegions); ++s) {
        const auto section = static_cast<MapSection>(s);
        EXPECT_EQ(Zarn::writeMapSection(a, section), Zarn::writeMapSection(b, section)) << "section " << s;
    }
    EXPECT_EQ(rewritten, written);
    EXPECT_EQ(written, bytes) << "the reader or the writer changes what the compiler wrote";
    EXPECT_EQ(first.header.name, GetParam());
}

// The whole map load (client core and server thread), then a minute of ticks
// with nobody touching anything: nothing throws and the server answers every
// tick.
TEST_P(ShippedMap, LoadsAndRunsAMinuteWithoutInput) {
    Zarn::Solution idle;
    idle.players.resize(1);
    const zarn_test::PlayResult result = zarn_test::playAlone(bytes, idle, 2000);
    EXPECT_FALSE(result.stalled) << result.report();
    EXPECT_EQ(result.ticks, 2000u);
}

INSTANTIATE_TEST_SUITE_P(Rooms, ShippedMap, ::testing::ValuesIn(zarn_test::shippedRooms()),
                         [](const auto& info) { return info.param; });

// The multiplayer map list names exactly the shipped co-op rooms.
TEST(ShippedMaps, TheMultiplayerMapListNamesTheCoopRooms) {
    Zarn::MultiplayerMapList list;
    for (u32 hash = 0; hash < zarn_test::coopRooms().size(); ++hash) {
        EXPECT_EQ(list.findByHash(hash), zarn_test::coopRooms()[hash] + ".map");
        EXPECT_FALSE(zarn_test::shippedMap(zarn_test::coopRooms()[hash]).empty());
    }
}

}  // namespace
