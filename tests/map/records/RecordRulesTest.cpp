#include <gtest/gtest.h>

#include <typeindex>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "map/records/DialogEntry.h"
#include "map/records/ElementIds.h"
#include "map/records/MultiplayerMapList.h"
#include "map/records/ZOrder.h"
#include "support/map/SampleRecords.h"

using namespace Zarn;
using Convinience::Buffer;
using Convinience::ByteReader;
using Convinience::ReadPastEndError;
using GeometryLib::Point;

namespace {

std::vector<u8> words(std::initializer_list<u32> values) {
    Buffer b;
    for (u32 v : values) b.appendU32(v);
    return b.takeBytes();
}

template <class F>
std::string errorText(F&& f) {
    try {
        f();
    } catch (const Convinience::Error& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(ActionDataFactory, ChoosesTheClassByActionIdAndRefusesUnknownIds) {
    const std::vector<std::pair<std::vector<u32>, std::type_index>> table = {
        {{34, 37}, typeid(ActionData)},
        {{0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 19, 20, 24, 25, 26, 27, 28, 29, 30, 38},
         typeid(NumberActionData)},
        {{17, 18}, typeid(TwoNumbersActionData)},
        {{14, 15, 21, 22, 31, 32}, typeid(NumbersActionData)},
        {{36}, typeid(FloatActionData)},
        {{2, 23}, typeid(MoveSteerableData)},
        {{33}, typeid(PositionsActionData<GeometryLib::FPoint>)},
        {{35}, typeid(PositionsActionData<Point>)},
    };
    for (const auto& [ids, type] : table) {
        for (u32 id : ids) {
            // Enough zero bytes after the ID for every class (counts read as 0).
            const std::vector<u8> bytes = words({id, 0, 0});
            ByteReader reader(bytes);
            const auto action = ActionDataFactory::make(reader);
            EXPECT_EQ(std::type_index(typeid(*action)), type) << "action ID " << id;
            EXPECT_EQ(action->actionId, id);
            EXPECT_EQ(reader.position(), action->serializedSize()) << "action ID " << id;
        }
    }
    for (u32 id : {3u, 39u, 0xFFFFFFFFu}) {
        const std::vector<u8> bytes = words({id, 0, 0});
        ByteReader reader(bytes);
        EXPECT_EQ(errorText([&] { ActionDataFactory::make(reader); }), "invalid action") << id;
    }
}

TEST(ActionDataFactory, NestedTimersAreCappedSoThatACraftedMapCannotExhaustTheStack) {
    auto nested = [](u32 timers) {
        Buffer b;
        for (u32 i = 0; i < timers; ++i) {
            b.appendU32(16);
            b.appendFloat(0.5f);
            b.appendU32(8 + 12 * (timers - i - 1));
        }
        b.appendU32(38);
        b.appendU32(4);
        return b.takeBytes();
    };
    const std::vector<u8> deepest = nested(ActionDataFactory::maxNestingDepth);
    ByteReader ok(deepest);
    const auto action = ActionDataFactory::make(ok);
    EXPECT_EQ(action->serializedSize(), deepest.size());
    EXPECT_EQ(action->toBytes(), deepest);

    const std::vector<u8> tooDeep = nested(ActionDataFactory::maxNestingDepth + 1);
    ByteReader refused(tooDeep);
    EXPECT_EQ(errorText([&] { ActionDataFactory::make(refused); }), "bad map");

    // A timer nesting a timer nesting a number action is 12 + 12 + 8 bytes.
    EXPECT_EQ(nested(2).size(), 32u);
}

TEST(TriggerData, ChoosesTheClassByTriggerIdAndRefusesUnknownIds) {
    for (u32 id = 0; id <= 22; ++id) {
        const std::vector<u8> bytes = words({id, 3, 0});
        ByteReader reader(bytes);
        if (id == 0 || (id >= 2 && id <= 4) || id > 20) {
            EXPECT_EQ(errorText([&] { TriggerData::make(reader); }), "invalid triggerID") << id;
            continue;
        }
        const auto trigger = TriggerData::make(reader);
        const std::type_index expected = id == 1    ? typeid(TriggerData)
                                         : id == 5  ? typeid(PositionTriggerData)
                                         : id == 19 ? typeid(TimerTriggerData)
                                         : id == 20 ? typeid(AreaTriggerData)
                                                    : typeid(NumberTriggerData);
        EXPECT_EQ(std::type_index(typeid(*trigger)), expected) << id;
        EXPECT_EQ(trigger->count, 3u);
        EXPECT_EQ(reader.position(), trigger->serializedSize()) << id;
    }
}

TEST(SwitchElement, ReadsEachActionToItsOwnSizeWhateverItsStoredLengthSays) {
    SwitchElement lever = zarn_test::sample<SwitchElement>(35);
    EXPECT_EQ(SwitchElement().serializedSize(), 26u);
    std::vector<u8> bytes = lever.toBytes();
    // The first action's stored length sits right after the 17 + 1 + 4 bytes.
    bytes[22] = 200;
    ByteReader reader(bytes);
    SwitchElement read(reader);
    EXPECT_TRUE(reader.atEnd());
    ASSERT_EQ(read.firstActions.size(), 2u);
    ASSERT_EQ(read.secondActions.size(), 1u);
    EXPECT_EQ(dynamic_cast<NumberActionData&>(*read.secondActions[0]).number, 6u);
}

TEST(PointSet, ARepeatedCellIsHeldOnceAndWrittenOnce) {
    Buffer b;
    MapElement header;
    header.serialize(b);
    for (u32 v : {3u, Point::makeKey(1, 2), Point::makeKey(4, 4), Point::makeKey(1, 2)}) b.appendU32(v);
    const std::vector<u8> bytes = b.takeBytes();
    ByteReader reader(bytes);
    GridCoverageElement coverage(reader);
    EXPECT_EQ(coverage.coveredCells.size(), 2u);
    EXPECT_TRUE(coverage.coveredCells.contains(Point(4, 4)));
    const std::vector<u8> written = coverage.toBytes();
    EXPECT_EQ(written.size(), bytes.size() - 4);
    EXPECT_EQ(written[9], 2) << "the count is one lower";
}

TEST(PointSet, EqualityIgnoresOrderAndCellSetsConvertBothWays) {
    const PointSet a{Point(1, 1), Point(2, 2)};
    const PointSet b{Point(2, 2), Point(1, 1)};
    EXPECT_EQ(a, b);
    EXPECT_FALSE(a == PointSet{Point(1, 1)});
    PointSet c;
    c.assign(a.toCellSet());
    EXPECT_EQ(c, a);
}

TEST(ZOrder, ANameMustEndInsideItsRecord) {
    Buffer b;
    ZOrder(3, "a", 1, 2).serialize(b);
    const std::vector<u8> written = b.takeBytes();
    ASSERT_EQ(written.size(), 16u);
    EXPECT_EQ(written[0], 12);

    // n = 2 but the name's two bytes hold no NUL.
    std::vector<u8> noNul(written.begin() + 4, written.end());
    noNul[9] = 'b';
    ByteReader reader(noNul);
    EXPECT_EQ(errorText([&] { ZOrder z(reader); }), "bad map");

    // A NUL before the end of the n bytes ends the name; the bytes after n still place zByteA and zByteB.
    Buffer early;
    for (u32 v : {7u, 4u}) early.appendU32(v);
    for (u8 c : std::initializer_list<u8>{'x', 0, 'y', 0, 5, 6}) early.appendU8(c);
    const std::vector<u8> earlyBytes = early.takeBytes();
    ByteReader earlyReader(earlyBytes);
    const ZOrder z(earlyReader);
    EXPECT_EQ(z.name, "x");
    EXPECT_EQ(z.zByteA, 5);
    EXPECT_EQ(z.zByteB, 6);

    // A name length past the end of the bytes.
    const std::vector<u8> lying = words({1, 0xFFFFFFFF});
    ByteReader lyingReader(lying);
    EXPECT_THROW(ZOrder{lyingReader}, ReadPastEndError);
}

TEST(DialogEntry, LyingLengthsThrowWithoutAllocating) {
    for (const std::vector<u8>& bytes :
         {words({0xFFFFFFFF, 0xFFFFFFFF, 0, 0}), words({4, 0xFFFFFFF0, 0, 0, 0}), words({9, 0, 1, 2})}) {
        ByteReader reader(bytes);
        EXPECT_THROW(DialogEntry{reader}, ReadPastEndError);
    }
}

TEST(MultiplayerMapList, FindsNamesAndVerifiesAllThreeFields) {
    MultiplayerMapList list;
    EXPECT_EQ(list.findByHash(0), "multi_lv1.map");
    EXPECT_EQ(list.findByHash(1), "multi_lv2.map");
    EXPECT_THROW(list.findByHash(2), MapHashNotFoundException);
    EXPECT_TRUE(list.verify(MapMetadata(0, 117, 128)));
    EXPECT_FALSE(list.verify(MapMetadata(1, 117, 128)));
    EXPECT_FALSE(list.verify(MapMetadata(0, 117, 127)));
    EXPECT_FALSE(list.verify(MapMetadata(5, 0, 0))) << "a missing hash gets an all-zero entry";
    EXPECT_EQ(list.metadata(5), MapMetadata());
}

TEST(ElementIds, TheThreeSetsAreDisjointAndHoldTheirFamilies) {
    EXPECT_EQ(tileElementIds.size(), 66u);
    EXPECT_EQ(freeElementIds.size(), 101u);
    for (u32 id = 0; id < 1000; ++id) {
        const std::size_t in =
            tileElementIds.count(id) + freeElementIds.count(id) + logicalElementIds.count(id);
        EXPECT_LE(in, 1u) << id;
    }
    for (u32 id : {29u, 31u, 34u, 42u, 140u, 379u, 383u, 402u, 442u, 445u})
        EXPECT_TRUE(tileElementIds.contains(id));
    for (u32 id : {35u, 59u, 135u, 164u, 300u, 348u, 358u, 401u, 447u})
        EXPECT_TRUE(freeElementIds.contains(id));
    for (u32 id : {60u, 271u, 349u, 355u, 384u, 386u, 443u, 141u}) {
        EXPECT_FALSE(tileElementIds.contains(id) || freeElementIds.contains(id)) << id;
    }
}
