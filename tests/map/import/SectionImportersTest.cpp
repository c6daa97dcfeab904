#include <gtest/gtest.h>

#include <typeindex>

#include "../support/MapImportTestSupport.h"
#include "foundation/Buffer.h"
#include "grid/RectBlockable.h"
#include "map/import/MapComponentsImporter.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "support/map/MapBuilder.h"
#include "support/map/SampleRecords.h"

using namespace Zarn;
using namespace zarn_test;
using Section = MapBuilder::Section;
using GeometryLib::FPoint;
using GeometryLib::Point;
using GeometryLib::Rect;

namespace {

// The file up to the section before `section`, then the given section bytes.
std::vector<u8> withSection(const MapBuilder& builder, Section section, const std::vector<u8>& sectionBytes) {
    std::vector<u8> bytes = builder.bytesThrough(static_cast<Section>(static_cast<int>(section) - 1));
    appendBytes(bytes, sectionBytes);
    return bytes;
}

std::vector<u8> gridSection(std::initializer_list<u32> words, std::vector<u8> tail = {}) {
    std::vector<u8> body = u32Bytes(words);
    appendBytes(body, tail);
    std::vector<u8> section = u32Bytes({static_cast<u32>(body.size())});
    appendBytes(section, body);
    return section;
}

std::vector<u8> framed(const std::vector<u8>& record) {
    std::vector<u8> out = u32Bytes({static_cast<u32>(record.size())});
    appendBytes(out, record);
    return out;
}

}  // namespace

TEST(GridMapImporter, MarksSolidCellsAndGivesEachABlockable) {
    // 64 x 32 with cells of 32: two tile bytes, then an empty rectangle list.
    GameMap map;
    ASSERT_EQ(importInto(map, MapBuilder().grid(64, 32, 32, {1, 0}).bytesThrough(Section::grid)), "no error");
    EXPECT_EQ(map.grid.getColumns(), 2u);
    EXPECT_EQ(map.grid.getRows(), 1u);
    EXPECT_EQ(map.grid.cellAt(Point(0, 0)), 1);
    EXPECT_EQ(map.grid.cellAt(Point(32, 0)), 0);
    const std::vector<Blockable*> blockers = map.blockables.blockablesInCell(Point(0, 0));
    ASSERT_EQ(blockers.size(), 1u);
    const auto* rect = dynamic_cast<RectBlockable*>(blockers[0]);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->getRect(), GeometryLib::FRect(32, 32, FPoint(0, 0)));
    EXPECT_EQ(map.blockables.blockerAt(FPoint(40, 10)), nullptr);
    EXPECT_TRUE(map.maximalRectangles.empty());

    // A tile byte of 2 is a free cell without a blockable.
    GameMap two;
    ASSERT_EQ(importInto(two, MapBuilder().grid(64, 32, 32, {2, 0}).bytesThrough(Section::grid)), "no error");
    EXPECT_EQ(two.grid.cellAt(Point(0, 0)), 0);
    EXPECT_EQ(two.blockables.cellCount(), 0u);
}

// 80 x 96 with cells of 32: 2 x 3 cells and strips without cells; the area
// asks for 7 tile bytes, and row y starts at byte (y x 80) / 32 / 32 (0, 2, 5):
// byte 4 is no cell's.
TEST(GridMapImporter, LoadsRoomsWhoseSizeIsNotAWholeNumberOfCells) {
    GameMap map;
    ASSERT_EQ(
        importInto(map, MapBuilder().grid(80, 96, 32, {1, 0, 0, 1, 1, 0, 1}).bytesThrough(Section::grid)),
        "no error");
    EXPECT_EQ(map.grid.getColumns(), 2u);
    EXPECT_EQ(map.grid.getRows(), 3u);
    const std::vector<std::pair<Point, TileStatus>> cells = {{Point(0, 0), 1}, {Point(1, 0), 0},
                                                             {Point(0, 1), 0}, {Point(1, 1), 1},
                                                             {Point(0, 2), 0}, {Point(1, 2), 1}};
    for (const auto& [cell, status] : cells) {
        EXPECT_EQ(map.grid.cellAt(Point(cell.x * 32 + 5, cell.y * 32 + 5)), status)
            << cell.x << "," << cell.y;
        const FPoint centre(cell.x * 32 + 16.0f, cell.y * 32 + 16.0f);
        EXPECT_EQ(map.blockables.blockerAt(centre) != nullptr, status == 1) << cell.x << "," << cell.y;
    }
    EXPECT_FALSE(map.grid.isFree(Point(70, 10))) << "the strip past the last column holds no cell";
}

TEST(GridMapImporter, RefusesGridsItCannotHoldOrThatLie) {
    struct Case {
        const char* name;
        std::vector<u8> section;
    };
    const std::vector<u8> noRectangles = u32Bytes({0, 0});
    const Case cases[] = {
        {"cell size 0", gridSection({64, 32, 0}, noRectangles)},
        {"fewer tile bytes than the area asks", gridSection({80, 96, 32}, {0, 0, 0, 0, 0, 0})},
        {"fewer tile bytes than cells", gridSection({64, 64, 32}, {0, 0, 0})},
        {"cell counts that overflow 32 bits", gridSection({65536 * 16, 65536 * 16, 1})},
        {"a width past a 16-bit point", gridSection({40000, 16, 16})},
        {"more cells than a room may have", gridSection({32767, 32767, 1})},
        {"a rectangle count past the bytes", gridSection({32, 32, 32}, {0, 0, 0, 0, 0, 5, 0, 0, 0})},
        {"a section shorter than its properties", gridSection({32, 32})},
        {"a section length past the file", u32Bytes({400, 32, 32, 32})},
    };
    for (const Case& c : cases) {
        GameMap map;
        EXPECT_EQ(importInto(map, withSection(MapBuilder(), Section::grid, c.section)), "bad map") << c.name;
    }
}

TEST(TrapElementImporter, FilesRecordsByElementIdWhateverTheCountsSay) {
    // trapCount 2 and groupCount 1, records 43, 52 and 47.
    MapBuilder builder;
    builder.trap(sample<IntervalTrapElement>(43));
    builder.trap(sample<RatTrapElement>(47));
    builder.trapGroup(sample<GroupedTrapElement>(52));
    std::vector<u8> section = u32Bytes({2, 1});
    appendBytes(section, framed(sample<IntervalTrapElement>(43).toBytes()));
    appendBytes(section, framed(sample<GroupedTrapElement>(52).toBytes()));
    appendBytes(section, framed(sample<RatTrapElement>(47).toBytes()));
    GameMap map;
    ASSERT_EQ(importInto(map, withSection(builder, Section::traps, section)), "no error");
    ASSERT_EQ(map.trapRecords.size(), 2u);
    EXPECT_EQ(typeid(*map.trapRecords[0]), typeid(IntervalTrapElement));
    EXPECT_EQ(typeid(*map.trapRecords[1]), typeid(RatTrapElement));
    ASSERT_EQ(map.trapGroupRecords.size(), 1u);
    EXPECT_EQ(typeid(*map.trapGroupRecords[0]), typeid(GroupedTrapElement));
}

TEST(TrapElementImporter, ReadsEveryIdAsItsClassAndRefusesTheRest) {
    // 47 and 48 are read as rat trap records: the trap factory builds rat traps of them.
    const std::vector<std::pair<std::vector<u32>, std::type_index>> table = {
        {{43, 44, 45, 56, 127, 129, 134}, typeid(IntervalTrapElement)},
        {{46, 50, 51, 128, 132, 136}, typeid(DelayedTrapElement)},
        {{47, 48, 49}, typeid(RatTrapElement)},
        {{55}, typeid(RadialTrapElement)},
        {{121, 122, 123, 124, 125, 126}, typeid(ScheduledTrapElement)},
        {{130}, typeid(TrapSpawningTrapElement)},
        {{131}, typeid(LineIntervalTrapElement)},
        {{133}, typeid(BossElement)},
        {{356}, typeid(FourPanelTrapDoorElement)},
        {{52}, typeid(GroupedTrapElement)},
        {{53}, typeid(SequentialGroupedIntervalTrapElement)},
    };
    // A trap record followed by enough zeros for the fields of every class.
    TrapElement trap = sample<TrapElement>(0);
    auto recordOf = [&](u32 id) {
        trap.elementId = id;
        std::vector<u8> record = trap.toBytes();
        record.resize(record.size() + 64, 0);
        return framed(record);
    };
    for (const auto& [ids, type] : table) {
        for (u32 id : ids) {
            std::vector<u8> section = u32Bytes({1, 0});
            appendBytes(section, recordOf(id));
            GameMap map;
            ASSERT_EQ(importInto(map, withSection(MapBuilder(), Section::traps, section)), "no error") << id;
            const MapElement& read = map.trapRecords.empty()
                                         ? static_cast<const MapElement&>(*map.trapGroupRecords.at(0))
                                         : *map.trapRecords.at(0);
            EXPECT_EQ(std::type_index(typeid(read)), type) << id;
        }
    }
    for (u32 id : {0u, 42u, 54u, 120u, 135u, 137u, 200u, 355u, 357u, 0xFFFFFFFFu}) {
        std::vector<u8> section = u32Bytes({1, 0});
        appendBytes(section, recordOf(id));
        GameMap map;
        EXPECT_EQ(importInto(map, withSection(MapBuilder(), Section::traps, section)), "Not yet Implemented")
            << id;
    }
}

TEST(TrapElementImporter, RefusesLyingCountsAndLengths) {
    const std::vector<u8> record = sample<IntervalTrapElement>(43).toBytes();
    std::vector<u8> longRecord = u32Bytes({1, 0, static_cast<u32>(record.size() + 10)});
    appendBytes(longRecord, record);
    std::vector<u8> shortRecord = u32Bytes({1, 0, 20});
    appendBytes(shortRecord, std::vector<u8>(record.begin(), record.begin() + 20));
    const std::vector<std::vector<u8>> sections = {
        u32Bytes({0xFFFFFFFF, 0xFFFFFFFF}),  // counts that overflow 32 bits together
        u32Bytes({3, 0}),                    // records that are not there
        longRecord,                          // a length past the file
        shortRecord,                         // a record shorter than its fields
        {1, 0, 0, 0, 0},                     // a header cut short
    };
    for (const std::vector<u8>& section : sections) {
        GameMap map;
        EXPECT_EQ(importInto(map, withSection(MapBuilder(), Section::traps, section)), "bad map");
    }
}

TEST(GenericMapElementFactory, ChoosesTheRecordClassByTheIdSets) {
    const std::vector<std::pair<u32, std::type_index>> table = {
        {29, typeid(WholeTileMapElement)},
        {31, typeid(WholeTileMapElement)},
        {42, typeid(TileNumberedMapElement)},
        {440, typeid(TileNumberedMapElement)},
        {140, typeid(ConveyorElement)},
        {379, typeid(MusicalNoteControllerElement)},
        {383, typeid(MusicalNoteElement)},
        {35, typeid(SwitchElement)},
        {36, typeid(DoorElement)},
        {59, typeid(MultiSwitchElement)},
        {135, typeid(SelectiveMultiSwitchElement)},
        {167, typeid(AutomaticDoorElement)},
        {401, typeid(CombinedElement<FreeMapElement, RectSubElement>)},
        {300, typeid(ScriptedSteerableElement)},
        {358, typeid(ScriptedSteerableElement)},
        {348, typeid(CoinElement)},
        {204, typeid(FreeMapElement)},
        {141, typeid(GroupedNumberedElement)},
        {443, typeid(LevelUpModeElement)},
    };
    CellGrid grid;
    GenericMapElementFactory factory(grid);
    for (const auto& [id, type] : table) {
        // Enough zero bytes for the largest class with empty lists.
        Convinience::Buffer bytes;
        MapElement header;
        header.elementId = id;
        header.serialize(bytes);
        for (int i = 0; i < 16; ++i) bytes.appendU32(0);
        std::istringstream stream = streamOf(framed(bytes.bytes()));
        const auto record = factory.make(stream);
        EXPECT_EQ(std::type_index(typeid(*record)), type) << id;
    }
    for (u32 id : {0u, 60u, 271u, 349u, 355u, 384u, 386u, 1000u}) {
        std::istringstream stream = streamOf(framed(u32Bytes({id, 0, 0, 0, 0, 0})));
        EXPECT_EQ(errorText([&] { factory.make(stream); }), "invliad element id") << id;
    }
}

TEST(GenericMapElementFactory, ASolidDecorationBlocksOnlyWithABlockableManager) {
    auto decoration = sample<CombinedElement<FreeMapElement, RectSubElement>>(172);
    decoration.position = Point(32, 16);
    decoration.width = 32;
    decoration.height = 16;
    GameMap map;
    MapBuilder builder;
    builder.grid(16, {"....", "....", "...."}).element(decoration);
    ASSERT_EQ(importInto(map, builder.bytes()), "no error");
    EXPECT_NE(map.blockables.blockerAt(FPoint(40, 20)), nullptr);
    EXPECT_NE(map.blockables.blockerAt(FPoint(64, 32)), nullptr) << "edges included";
    EXPECT_EQ(map.blockables.blockerAt(FPoint(20, 20)), nullptr);

    CellGrid grid;
    GenericMapElementFactory alone(grid);
    std::istringstream stream = streamOf(framed(decoration.toBytes()));
    EXPECT_NE(alone.make(stream), nullptr);

    // A decoration larger than the room is refused rather than indexed cell by cell.
    decoration.width = 0xFFFFFFFF;
    GameMap huge;
    MapBuilder hugeBuilder;
    hugeBuilder.element(decoration);
    EXPECT_EQ(importInto(huge, hugeBuilder.bytes()), "bad map");
}

TEST(GenericMapElementFactory, AnUnknownActionInsideALeverIsRefused) {
    SwitchElement lever = sample<SwitchElement>(35);
    lever.secondActions.push_back(std::make_unique<ActionData>(3));
    GameMap map;
    EXPECT_EQ(importInto(map, MapBuilder().element(lever).bytes()), "invalid action");
}

TEST(MapEventDataImporter, KeepsEventsWithoutActionsAndEveryRepeatedId) {
    MapBuilder builder;
    builder.event(sampleEvent(6, 4, {})).event(sampleEvent(19, 4, sampleActions()));
    GameMap map;
    ASSERT_EQ(importInto(map, builder.bytes()), "no error");
    ASSERT_EQ(map.mapEvents.size(), 2u);
    EXPECT_TRUE(map.mapEvents[0]->actions.empty());
    EXPECT_EQ(map.mapEvents[1]->eventId, 4u);
    EXPECT_EQ(map.mapEvents[1]->actions.size(), sampleActions().size());
}

TEST(MapEventDataImporter, RefusesUnknownIdsWithTheirTexts) {
    MapEventData unknownTrigger = sampleEvent(6, 1, {});
    unknownTrigger.trigger->triggerId = 4;
    GameMap first;
    EXPECT_EQ(importInto(first, MapBuilder().event(unknownTrigger).bytes()), "invalid triggerID");

    ActionList actions;
    actions.push_back(std::make_unique<NumberActionData>(39, 1));
    GameMap second;
    EXPECT_EQ(importInto(second, MapBuilder().event(sampleEvent(6, 1, std::move(actions))).bytes()),
              "invalid action");
}

TEST(MapEventDataImporter, RefusesLyingCountsAndLengths) {
    const std::vector<u8> trigger = framed(u32Bytes({6, 1, 2}));
    std::vector<u8> lyingActions = u32Bytes({1});
    appendBytes(lyingActions, trigger);
    appendBytes(lyingActions, u32Bytes({0xFFFFFFFF}));
    std::vector<u8> shortTrigger = u32Bytes({1, 4, 6});
    std::vector<u8> shortAction = u32Bytes({1});
    appendBytes(shortAction, trigger);
    appendBytes(shortAction, u32Bytes({1, 6, 38, 0, 0, 1}));  // an 8-byte action in a 6-byte frame
    for (const std::vector<u8>& section : {u32Bytes({0xFFFFFFFF}), lyingActions, shortTrigger, shortAction}) {
        GameMap map;
        EXPECT_EQ(importInto(map, withSection(MapBuilder(), Section::events, section)), "bad map");
    }
}

TEST(DialogImporter, KeepsTheFirstEntryOfANumber) {
    GameMap map;
    const std::vector<u8> bytes =
        MapBuilder().dialog("first", "a", 3, Point(1, 1)).dialog("second", "b", 3, Point(2, 2)).bytes();
    ASSERT_EQ(importInto(map, bytes), "no error");
    ASSERT_EQ(map.dialogs.size(), 1u);
    EXPECT_EQ(map.dialogs.at(3).text, "first");
}

TEST(DialogImporter, RefusesCountsAndLengthsItsBytesDoNotHold) {
    const std::vector<u8> entry = DialogEntry("hello", "tali", 7, Point(1, 2)).toBytes();
    std::vector<u8> tooMany = u32Bytes({static_cast<u32>(entry.size()), 2});
    appendBytes(tooMany, entry);
    std::vector<u8> lyingEntry = u32Bytes({16, 1, 50, 0, 0, 0});
    for (const std::vector<u8>& section : {tooMany, lyingEntry, u32Bytes({0xFFFFFFFF, 0}), u32Bytes({16})}) {
        GameMap map;
        EXPECT_EQ(importInto(map, withSection(MapBuilder(), Section::dialogs, section)), "bad map");
    }
}

TEST(ZOrderImporter, ACountOfZeroReadsNothingFurther) {
    MapBuilder builder;
    builder.cameraRegion(Rect(10, 10, Point(0, 0)));
    GameMap map;
    ASSERT_EQ(importInto(map, builder.bytes()), "no error");
    EXPECT_TRUE(map.zOrders.empty());
    EXPECT_EQ(map.cameraRegions.regions.size(), 1u);
}

TEST(ZOrderImporter, RefusesARecordWhoseNameHasNoNulOrWhoseCountLies) {
    std::vector<u8> noNul = u32Bytes({1, 11});
    appendBytes(noNul, u32Bytes({5, 1}));
    appendBytes(noNul, {'a', 1, 2});
    for (const std::vector<u8>& section : {noNul, u32Bytes({0x10000000}), u32Bytes({1, 100})}) {
        GameMap map;
        EXPECT_EQ(importInto(map, withSection(MapBuilder(), Section::zOrders, section)), "bad map");
    }
}

TEST(CameraRegionImporter, ReadsRegionsWithTheirTransitions) {
    MapBuilder builder;
    builder.cameraRegion(Rect(100, 50, Point(0, 0)), {TransitionRegion(3, Rect(5, 6, Point(7, 8)))});
    builder.cameraRegion(Rect(20, 30, Point(100, 0)));
    const std::vector<u8> section = builder.sectionBytes(Section::cameraRegions);
    EXPECT_EQ(section.size(), 4u + 52u);
    EXPECT_EQ(section[0], 52);
    GameMap map;
    ASSERT_EQ(importInto(map, builder.bytes()), "no error");
    EXPECT_EQ(map.cameraRegions.regions,
              (std::vector<Rect>{Rect(100, 50, Point(0, 0)), Rect(20, 30, Point(100, 0))}));
    ASSERT_EQ(map.cameraRegions.transitions.size(), 2u);
    EXPECT_EQ(map.cameraRegions.transitions[0],
              (std::vector<TransitionRegion>{TransitionRegion(3, Rect(5, 6, Point(7, 8)))}));
    EXPECT_TRUE(map.cameraRegions.transitions[1].empty());

    std::vector<u8> lying = u32Bytes({20, 1, 0, 0, 0, 9});
    GameMap refused;
    EXPECT_EQ(importInto(refused, withSection(MapBuilder(), Section::cameraRegions, lying)), "bad map");
}
