#include <gtest/gtest.h>

#include <functional>

#include "BuildTestSupport.h"
#include "level/InteractiveElementStore.h"
#include "map/records/GroupedTrapElement.h"
#include "world/elements/ElementGroup.h"
#include "world/traps/TrapGroup.h"

namespace Zarn {
namespace {

using GeometryLib::Point;

// A trap that notes its updates in a shared list and may run a hook when updated.
class NoteTrap : public Trap {
public:
    NoteTrap(const TrapElement& record, std::vector<std::string>& log, std::string name)
        : Trap(record, nullptr), log(&log), name(std::move(name)) {}
    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return true; }
    bool touches(const Point&, SteerableUnit*) override { return false; }
    void reset() override {}
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState&) override {}
    void update(float) override {
        log->push_back(name);
        if (onUpdate) onUpdate();
    }

    std::vector<std::string>* log;
    std::string name;
    std::function<void()> onUpdate;
    InteractiveMapElementState state;
};

TrapElement trapRecord(u32 number, u32 link, Point position, std::initializer_list<Point> cells) {
    TrapElement r;
    r.elementId = 43;
    r.trapNumber = number;
    r.linkNumber = link;
    r.position = position;
    r.coveredCells = PointSet(cells);
    return r;
}

TEST(InteractiveElementStoreTest, FilesTrapsByNumberCellAndPositionAndUpdatesOnlyUngroupedOnes) {
    std::vector<std::string> log;
    const TrapElement a = trapRecord(4, 0, Point(1, 1), {Point(1, 1), Point(1, 2)});
    const TrapElement b = trapRecord(9, 3, Point(1, 1), {Point(1, 2)});
    const TrapElement c = trapRecord(4, 0, Point(5, 5), {});
    NoteTrap ta(a, log, "a"), tb(b, log, "b"), tc(c, log, "c");
    InteractiveElementStore store;
    store.addTrap(ta);
    store.addTrap(tb);
    store.addTrap(tc);

    EXPECT_EQ(store.findTrap(4), &ta) << "a number filed first keeps its trap";
    EXPECT_EQ(store.findTrap(9), &tb);
    EXPECT_EQ(store.findTrap(5), nullptr);
    EXPECT_EQ(store.trapsInCell(Point(1, 2)).size(), 2u);
    EXPECT_EQ(store.trapsInCell(Point(1, 1)), std::vector<Trap*>{&ta});
    EXPECT_EQ(store.trapsAtPosition(Point(1, 1)).size(), 2u);
    EXPECT_EQ(store.groupNumbers(), std::set<u32>{3});
    EXPECT_EQ(store.highestTrapNumber(), 9u);
    EXPECT_EQ(store.updatedTraps(), (std::vector<Trap*>{&ta, &tc}));
    store.rebuildUpdatedTraps();
    EXPECT_EQ(store.updatedTraps(), (std::vector<Trap*>{&ta, &tc}));

    store.updateAll(0.03f);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
}

TEST(InteractiveElementStoreTest, NextTrapNumberHandsOutFreedNumbersFirst) {
    InteractiveElementStore empty;
    EXPECT_EQ(empty.nextTrapNumber(), 0u);
    EXPECT_EQ(empty.highestTrapNumber(), 0u);
    EXPECT_EQ(empty.nextTrapNumber(), 0u) << "an empty store changes nothing";

    std::vector<std::string> log;
    const TrapElement r = trapRecord(12, 0, Point(0, 0), {});
    NoteTrap t(r, log, "t");
    InteractiveElementStore store;
    store.addTrap(t);
    const TrapElement s = trapRecord(15, 0, Point(0, 0), {});
    store.adoptSpawnedTrap(15, std::make_unique<NoteTrap>(s, log, "s"));
    EXPECT_TRUE(store.releaseTrapNumber(15));
    EXPECT_FALSE(store.releaseTrapNumber(15)) << "no spawned trap holds it any more";
    EXPECT_EQ(store.freeNumbers(), std::vector<u32>{15});
    EXPECT_EQ(store.nextTrapNumber(), 15u);
    EXPECT_EQ(store.nextTrapNumber(), 13u);
    EXPECT_EQ(store.nextTrapNumber(), 14u);
}

TEST(InteractiveElementStoreTest, GroupsAreFiledByNumberHiddenAtStartAndUpdatedAfterTheTraps) {
    std::vector<std::string> log;
    const TrapElement a = trapRecord(1, 0, Point(0, 0), {});
    NoteTrap ta(a, log, "a");
    GroupedTrapElement groupRecord;
    groupRecord.elementId = 52;
    groupRecord.trapNumber = 30;
    groupRecord.flag = 1;
    TrapGroup group(groupRecord, {&ta});
    group.enable();
    GroupedTrapElement other = groupRecord;
    other.flag = 0;
    TrapGroup second(other, {});

    InteractiveElementStore store;
    store.addTrap(ta);
    store.addTrapGroup(group);
    store.addTrapGroup(second);
    EXPECT_EQ(store.findTrapGroup(30), &group) << "the first group of a number stays";
    EXPECT_EQ(group.getState().hidden, 1);
    EXPECT_EQ(second.getState().hidden, 0);
    EXPECT_EQ(store.findTrapGroup(31), nullptr);

    store.updateAll(0.03f);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "a"})) << "once by the store, once by its enabled group";
}

// A spawned trap whose update removes other spawned traps (a bomb that ends
// the boss's phase resets its spawners) must not leave the store walking
// destroyed traps.
TEST(InteractiveElementStoreTest, ASpawnedTrapThatRemovesOthersDuringUpdateIsSafe) {
    std::vector<std::string> log;
    InteractiveElementStore store;
    std::vector<TrapElement> records;
    for (u32 n = 0; n < 4; ++n) records.push_back(trapRecord(n, 0, Point(0, 0), {}));
    for (u32 n = 0; n < 4; ++n) {
        store.adoptSpawnedTrap(n, std::make_unique<NoteTrap>(records[n], log, "s" + std::to_string(n)));
    }
    auto* first = static_cast<NoteTrap*>(store.findSpawnedTrap(0));
    first->onUpdate = [&] {
        store.releaseTrapNumber(1);
        store.releaseTrapNumber(2);
    };
    store.updateAll(0.03f);
    EXPECT_EQ(log, (std::vector<std::string>{"s0", "s3"}));
    EXPECT_EQ(store.spawnedTrapCount(), 2u);
}

}  // namespace
}  // namespace Zarn
