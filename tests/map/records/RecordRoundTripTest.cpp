#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "map/records/DialogEntry.h"
#include "map/records/MapHeader.h"
#include "map/records/MultiplayerMapList.h"
#include "map/records/SectionHeaders.h"
#include "map/records/ZOrder.h"
#include "support/map/SampleRecords.h"

using namespace Zarn;
using Convinience::Buffer;
using Convinience::ByteReader;
using Convinience::ReadPastEndError;
using GeometryLib::Point;
using zarn_test::sample;

namespace {

template <class T>
std::vector<u8> bytesOf(const T& record) {
    Buffer buffer;
    record.serialize(buffer);
    return buffer.takeBytes();
}

// One record class: its bytes as written, the size it reports, the size the
// file format gives it, and how to read it back and copy it.
struct RoundTripCase {
    std::string name;
    std::vector<u8> bytes;
    u32 serializedSize;
    u32 expectedWritten;
    // What serialize writes beyond serializedSize (a leading length).
    u32 sizeDeficit;
    // The constructor reads the bytes after a leading u32 length that serialize writes.
    bool framed;
    std::function<std::vector<u8>(ByteReader&)> readAndWrite;
    std::function<std::vector<u8>()> cloneAndWrite;
    std::function<bool()> cloneHasSameType;
};

template <class T>
RoundTripCase roundTrip(std::string name, const T& record, u32 expectedWritten, u32 sizeDeficit = 0,
                        bool framed = false) {
    auto shared = std::make_shared<T>(record);
    return RoundTripCase{
        std::move(name),
        bytesOf(record),
        record.serializedSize(),
        expectedWritten,
        sizeDeficit,
        framed,
        [](ByteReader& reader) { return bytesOf(T(reader)); },
        [shared] { return bytesOf(*shared->clone()); },
        [shared] { return typeid(*shared->clone()) == typeid(T); },
    };
}

std::vector<RoundTripCase> allRecordClasses() {
    using FreeRect = CombinedElement<FreeMapElement, RectSubElement>;
    using NumberedRect = CombinedElement<FreeNumberedMapElement, RectSubElement>;
    using NumberedCircle = CombinedElement<FreeNumberedMapElement, CircleSubElement>;
    // Covered cells: 3 (12 bytes); actions of the sample lever: 8 + 4 and 8 (with lengths).
    std::vector<RoundTripCase> cases = {
        roundTrip("MapElement", sample<MapElement>(29), 9),
        roundTrip("FreeMapElement", sample<FreeMapElement>(204), 13),
        roundTrip("FreeNumberedMapElement", sample<FreeNumberedMapElement>(204), 17),
        roundTrip("WholeTileMapElement", sample<WholeTileMapElement>(29), 14),
        roundTrip("TileNumberedMapElement", sample<TileNumberedMapElement>(42), 18),
        roundTrip("GridCoverageElement", sample<GridCoverageElement>(1), 13 + 12),
        roundTrip("CombinedFreeRect", sample<FreeRect>(172), 21),
        roundTrip("CombinedNumberedRect", sample<NumberedRect>(36), 25),
        roundTrip("CombinedNumberedCircle", sample<NumberedCircle>(348), 25),
        roundTrip("SwitchElement", sample<SwitchElement>(35), 26 + (4 + 8) + (4 + 4) + (4 + 8)),
        roundTrip("MultiSwitchElement", sample<MultiSwitchElement>(59), 58 + 12),
        roundTrip("SelectiveMultiSwitchElement", sample<SelectiveMultiSwitchElement>(135), 58 + 12 + 8),
        roundTrip("DoorElement", sample<DoorElement>(36), 26),
        roundTrip("AutomaticDoorElement", sample<AutomaticDoorElement>(164), 30 + 8),
        roundTrip("ElevatorPadElement", sample<ElevatorPadElement>(60), 25),
        roundTrip("ConveyorElement", sample<ConveyorElement>(140), 23),
        roundTrip("MusicalNoteElement", sample<MusicalNoteElement>(383), 19),
        // Sequences {1,2,3}, {}, {4}: 16 + 4 + 8; actions 8 and 4.
        roundTrip("MusicalNoteControllerElement", sample<MusicalNoteControllerElement>(379), 35 + 28 + 8 + 4),
        roundTrip("GroupedNumberedElement", sample<GroupedNumberedElement>(141), 22 + 12),
        roundTrip("CoinElement", sample<CoinElement>(348), 29),
        roundTrip("ScriptedSteerableElement", sample<ScriptedSteerableElement>(300), 30 + 12),
        roundTrip("LevelUpModeElement", sample<LevelUpModeElement>(443), 35 + 8 + 8),

        roundTrip("TrapElement", sample<TrapElement>(43), 26 + 12),
        roundTrip("IntervalTrapElement", sample<IntervalTrapElement>(43), 38 + 12),
        roundTrip("DelayedTrapElement", sample<DelayedTrapElement>(46), 42 + 12),
        roundTrip("RadialTrapElement", sample<RadialTrapElement>(55), 50 + 12),
        roundTrip("LineIntervalTrapElement", sample<LineIntervalTrapElement>(131), 42 + 12),
        roundTrip("RatTrapElement", sample<RatTrapElement>(49), 58 + 12),
        roundTrip("TrapSpawningTrapElement", sample<TrapSpawningTrapElement>(130), 49 + 12),
        roundTrip("FourPanelTrapDoorElement", sample<FourPanelTrapDoorElement>(356), 39 + 12),
        // The fields add up to 39 + 9 per entry.
        roundTrip("ScheduledTrapElement", sample<ScheduledTrapElement>(121), 39 + 18 + 12),
        roundTrip("ScheduledTrapEntry", ScheduledTrapEntry(1.5f, 2, 0.75f), 9),
        roundTrip("GroupedTrapElement", sample<GroupedTrapElement>(52), 35 + 8 + 12),
        roundTrip("SequentialGroupedIntervalTrapElement", sample<SequentialGroupedIntervalTrapElement>(53),
                  39 + 8 + 12),
        roundTrip("BossElement", sample<BossElement>(133), 85 + 12),

        roundTrip("MapHeader", MapHeader("lab_1", Point(100, 40)), 4 + 5 + 4),
        roundTrip("DialogEntry", DialogEntry("hello", "tali", 7, Point(1, 2)), 25),
        roundTrip("ZOrder", ZOrder(3, "a", 1, 2), 16, 4, true),
        roundTrip("MapMetadata", MapMetadata(0, 117, 128), 12),
        roundTrip("TrapElementMapHeader", TrapElementMapHeader(2, 1), 8),
        roundTrip("MapElementsHeader", MapElementsHeader(16), 4),
        roundTrip("MaximalRectangleHeader", MaximalRectangleHeader(9, 2), 8),
        roundTrip("TransitionRegion", TransitionRegion(4, GeometryLib::Rect(10, 20, Point(3, 4))), 16),
    };
    const ActionList actions = zarn_test::sampleActions();
    for (const auto& action : actions) {
        const ActionData& a = *action;
        const std::string name = "Action" + std::to_string(a.actionId);
        if (auto* p = dynamic_cast<const TimerActionData*>(&a)) {
            cases.push_back(roundTrip(name, *p, 12 + 12 + 8));
        } else if (auto* p = dynamic_cast<const PositionsActionData<GeometryLib::FPoint>*>(&a)) {
            cases.push_back(roundTrip(name, *p, 8 + 16));
        } else if (auto* p = dynamic_cast<const PositionsActionData<Point>*>(&a)) {
            cases.push_back(roundTrip(name, *p, 8 + 12));
        } else if (auto* p = dynamic_cast<const MoveSteerableData*>(&a)) {
            cases.push_back(roundTrip(name, *p, 12));
        } else if (auto* p = dynamic_cast<const FloatActionData*>(&a)) {
            cases.push_back(roundTrip(name, *p, 8));
        } else if (auto* p = dynamic_cast<const NumbersActionData*>(&a)) {
            cases.push_back(roundTrip(name, *p, 8 + 12));
        } else if (auto* p = dynamic_cast<const TwoNumbersActionData*>(&a)) {
            cases.push_back(roundTrip(name, *p, 12));
        } else if (auto* p = dynamic_cast<const NumberActionData*>(&a)) {
            cases.push_back(roundTrip(name, *p, 8));
        } else {
            cases.push_back(roundTrip(name, a, 4));
        }
    }
    const std::vector<MapEventData> events = zarn_test::sampleEvents();
    // Trigger 1 (8) with the actions 34 (4) and 23 (12).
    cases.push_back(roundTrip("MapEventData", events[0], 4 + 8 + 4 + (4 + 4) + (4 + 12) + 5, 4));
    cases.push_back(roundTrip("TriggerData", *events[0].trigger, 8));
    cases.push_back(
        roundTrip("PositionTriggerData", dynamic_cast<PositionTriggerData&>(*events[1].trigger), 12));
    cases.push_back(roundTrip("NumberTriggerData", dynamic_cast<NumberTriggerData&>(*events[2].trigger), 12));
    cases.push_back(roundTrip("TimerTriggerData", dynamic_cast<TimerTriggerData&>(*events[3].trigger), 12));
    cases.push_back(
        roundTrip("AreaTriggerData", dynamic_cast<AreaTriggerData&>(*events[4].trigger), 12 + 12));
    return cases;
}

}  // namespace

TEST(MapRecords, EveryRecordClassRoundTripsByteExactly) {
    for (const RoundTripCase& c : allRecordClasses()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.bytes.size(), c.expectedWritten) << "bytes written";
        EXPECT_EQ(c.serializedSize + c.sizeDeficit, c.bytes.size()) << "serializedSize against serialize";
        const std::size_t skip = c.framed ? 4 : 0;
        ByteReader reader(c.bytes.data() + skip, c.bytes.size() - skip);
        EXPECT_EQ(c.readAndWrite(reader), c.bytes);
        EXPECT_TRUE(reader.atEnd()) << "the reader reads exactly the record";
        EXPECT_EQ(c.cloneAndWrite(), c.bytes);
        EXPECT_TRUE(c.cloneHasSameType());
    }
}

TEST(MapRecords, EveryTruncatedRecordThrowsReadPastEnd) {
    for (const RoundTripCase& c : allRecordClasses()) {
        SCOPED_TRACE(c.name);
        const std::vector<u8> body(c.bytes.begin() + (c.framed ? 4 : 0), c.bytes.end());
        for (std::size_t n = 0; n < body.size(); ++n) {
            ByteReader reader(body.data(), n);
            EXPECT_THROW(c.readAndWrite(reader), ReadPastEndError) << "prefix of " << n << " bytes";
        }
    }
}
