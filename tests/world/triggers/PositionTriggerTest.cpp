#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "TriggerTestSupport.h"
#include "grid/CellGrid.h"
#include "world/triggers/BindableEventTrigger.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/triggers/MapEventRunner.h"
#include "world/triggers/PositionEventTrigger.h"
#include "world/triggers/PositionIMETrigger.h"
#include "world/triggers/PositionTriggerGroup.h"
#include "world/triggers/SecondarySteerableIMETrigger.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using namespace test;
using GeometryLib::Point;

// Collects what reaches the sink: (result kind, element).
class RecordingSink : public EffectEventTrigger {
public:
    void onEffect(const EffectResult& result, InteractiveMapElement& element) override {
        seen.emplace_back(result.kind, &element);
    }
    std::vector<std::pair<u32, InteractiveMapElement*>> seen;
};

struct PositionFixture : testing::Test {
    PositionFixture() {
        grid.setProperties(MapProperties{320, 320, 32});
        grid.resize();
        units.addClient(1);
        group.addTrigger(elements);
    }
    SteerableUnit& unit() { return units.getUnit(1); }
    // Puts the unit in the middle of a cell and runs one tick of the group.
    void standOn(Point cell) {
        unit().body().position = {cell.x * 32.0f + 16.0f, cell.y * 32.0f + 16.0f};
        group.update(0.03f);
    }

    CellGrid grid;
    SteerableUnitManager units;
    RecordingSink sink;
    PositionIMETrigger elements{sink};
    PositionTriggerGroup group{grid, units};
    MapElement record;
};

TEST_F(PositionFixture, EnterOnlyElementsActOnArrivalOthersEveryTick) {
    TestElement lever(record, true);
    TestElement trap(record, false);
    elements.addElement(lever, {Point(2, 2)});
    elements.addElement(trap, {Point(2, 2)});
    // Spawned on the cell: seen for the first time, so the lever acts at once.
    for (int i = 0; i < 5; ++i) standOn(Point(2, 2));
    EXPECT_EQ(lever.scripted().applied, 1);
    EXPECT_EQ(trap.scripted().applied, 5);
    trap.touching = false;
    standOn(Point(2, 2));
    EXPECT_EQ(trap.scripted().applied, 5);
}

TEST_F(PositionFixture, MovingToAnotherCellOfTheSameElementIsANewArrival) {
    TestElement door(record, true);
    elements.addElement(door, {Point(2, 2), Point(3, 2)});
    standOn(Point(2, 2));
    standOn(Point(3, 2));
    standOn(Point(3, 2));
    standOn(Point(2, 2));
    EXPECT_EQ(door.scripted().applied, 3);
}

TEST_F(PositionFixture, ElementsOfACellActInFilingOrderAndRemovalKeepsOthers) {
    TestElement a(record), b(record), c(record);
    elements.addElement(b, {Point(1, 1)});
    elements.addElement(a, {Point(1, 1), Point(1, 2)});
    elements.addElement(c, {Point(1, 1)});
    standOn(Point(1, 1));
    ASSERT_EQ(sink.seen.size(), 3u);
    EXPECT_EQ(sink.seen[0].second, &b);
    EXPECT_EQ(sink.seen[1].second, &a);
    EXPECT_EQ(sink.seen[2].second, &c);

    sink.seen.clear();
    elements.removeElement(a, {Point(1, 1)});
    standOn(Point(1, 1));
    ASSERT_EQ(sink.seen.size(), 2u);
    EXPECT_EQ(sink.seen[0].second, &b);
    EXPECT_EQ(sink.seen[1].second, &c);
    standOn(Point(1, 2));  // a keeps its other cell
    EXPECT_EQ(sink.seen.back().second, &a);
    elements.removeElement(a, {Point(1, 2)});
    elements.removeElement(b, {Point(1, 1)});
    elements.removeElement(c, {Point(1, 1)});
    EXPECT_TRUE(elements.isEmpty());
}

TEST_F(PositionFixture, AThrowingElementPassesOutAndTheNextTickWorks) {
    TestElement first(record), bad(record), last(record);
    elements.addElement(first, {Point(1, 1)});
    elements.addElement(bad, {Point(1, 1)});
    elements.addElement(last, {Point(1, 1)});
    bool fail = true;
    bad.scripted().onApply = [&](SteerableUnit*) {
        if (fail) throw std::runtime_error("element failed");
    };
    unit().body().position = {48, 48};
    EXPECT_THROW(group.update(0.03f), std::runtime_error);
    EXPECT_EQ(first.scripted().applied, 1);
    EXPECT_EQ(last.scripted().applied, 0);
    fail = false;
    group.update(0.03f);
    EXPECT_EQ(first.scripted().applied, 2);
    EXPECT_EQ(bad.scripted().applied, 2);
    EXPECT_EQ(last.scripted().applied, 1);
}

TEST_F(PositionFixture, AUnitMadeAtTheAddressOfADestroyedOneIsSeenAfresh) {
    // The life token tells the two units apart although they share an address.
    TestElement lever(record, true);
    elements.addElement(lever, {Point(0, 0)});
    std::optional<SteerableUnit> slot;
    slot.emplace(5);
    SteerableUnit* firstAddress = &*slot;
    elements.onUnitOnCell(Point(0, 0), 5, *slot);
    elements.onUnitOnCell(Point(0, 0), 5, *slot);
    EXPECT_EQ(lever.scripted().applied, 1);
    slot.reset();
    slot.emplace(6);
    ASSERT_EQ(&*slot, firstAddress);
    elements.onUnitOnCell(Point(0, 0), 6, *slot);
    EXPECT_EQ(lever.scripted().applied, 2);
}

TEST_F(PositionFixture, GroupVisitsUnitsInClientOrderWithTruncatedCells) {
    units.addClient(3);
    units.addClient(2);
    std::vector<u32> order;
    TestElement spot(record);
    spot.scripted().onApply = [&](SteerableUnit* u) { order.push_back(u->handle()); };
    elements.addElement(spot, {Point(0, 1)});
    // (31.9, 32.0) is cell (0, 1); (-0.5, 40) truncates to x 0, cell (0, 1).
    units.getUnit(1).body().position = {31.9f, 32.0f};
    units.getUnit(2).body().position = {-0.5f, 40.0f};
    units.getUnit(3).body().position = {32.0f, 40.0f};  // cell (1, 1)
    group.update(0.03f);
    EXPECT_EQ(order, (std::vector<u32>{1, 2}));
}

struct PositionEventFixture : PositionFixture {
    PositionEventFixture() { group.addTrigger(positionEvents); }
    const MapEventData& add(std::unique_ptr<MapEventData> event) {
        events.push_back(std::move(event));
        return *events.back();
    }
    int made(const std::string& tagText) const {
        return static_cast<int>(std::count(log.begin(), log.end(), tagText));
    }

    MapEventList events;
    MapEventRegistry registry{events};
    CommandLog log;
    FakeActionFactory factory{log};
    Corvel::ClientCommandState commands;
    BindableEventTrigger bindable{registry, factory, commands};
    MapEventRunner runner{registry, factory, bindable, commands};
    PositionEventTrigger positionEvents{runner};
};

TEST_F(PositionEventFixture, PositionEventWithOneFiringLeavesItsCell) {
    add(makeEvent(1, positionTrigger(1, Point(4, 4)), actions(numberAction(0, 1))));
    registry.registerImportedEvents();
    positionEvents.addPositionTrigger(*events[0]);
    positionEvents.addAreaTrigger(*events[0]);  // not an area: not filed
    EXPECT_EQ(positionEvents.cells().size(), 1u);

    standOn(Point(4, 4));
    standOn(Point(4, 4));
    standOn(Point(4, 5));
    standOn(Point(4, 4));
    EXPECT_EQ(made("made 0:1"), 1);
    EXPECT_TRUE(positionEvents.isEmpty());
}

TEST_F(PositionEventFixture, AreaEventFiresOnEachEntryUntilSpent) {
    add(makeEvent(1, areaTrigger(2, {Point(1, 1), Point(2, 1), Point(3, 1)}), actions(numberAction(0, 1))));
    registry.registerImportedEvents();
    positionEvents.addAreaTrigger(*events[0]);
    EXPECT_EQ(positionEvents.cells().size(), 3u);

    standOn(Point(1, 1));
    standOn(Point(1, 1));  // stays: nothing
    EXPECT_EQ(made("made 0:1"), 1);
    standOn(Point(2, 1));  // another cell of the same area: a new entry
    EXPECT_EQ(made("made 0:1"), 2);
    EXPECT_FALSE(registry.isPresent(1));
    // The cell it fired from lost its pair; the others keep theirs but fire nothing.
    EXPECT_EQ(positionEvents.cells().size(), 2u);
    standOn(Point(3, 1));
    standOn(Point(1, 1));
    EXPECT_EQ(made("made 0:1"), 2);
}

// An event set off by a unit's arrival is made for that unit's client, so
// that an exit takes the player who stepped on it.
TEST_F(PositionEventFixture, AnArrivalFiresTheEventForTheArrivingPlayer) {
    units.addClient(7);
    add(makeEvent(1, areaTrigger(5, {Point(2, 2)}), actions(numberAction(0, 1))));
    registry.registerImportedEvents();
    positionEvents.addAreaTrigger(*events[0]);
    units.getUnit(7).body().position = {2 * 32.0f + 16.0f, 2 * 32.0f + 16.0f};
    standOn(Point(0, 0));
    standOn(Point(2, 2));
    EXPECT_EQ(log, (CommandLog{"for 7", "made 0:1", "for 1", "made 0:1"}));
}

TEST_F(PositionEventFixture, DisabledPositionEventStaysForLater) {
    add(makeEvent(1, positionTrigger(1, Point(4, 4)), actions(numberAction(0, 1)), 0));
    registry.registerImportedEvents();
    positionEvents.addPositionTrigger(*events[0]);
    standOn(Point(4, 4));
    EXPECT_EQ(made("made 0:1"), 0);
    registry.enableEvent(1);
    standOn(Point(4, 4));  // still on the cell: nothing
    standOn(Point(3, 4));
    standOn(Point(4, 4));
    EXPECT_EQ(made("made 0:1"), 1);
}

TEST_F(PositionFixture, MovingElementsActEveryTickThroughTheIndex) {
    SecondaryUnitIndex index(grid);
    SecondarySteerableUnit propA(kFirstSecondaryUnitHandle + 1), propB(kFirstSecondaryUnitHandle + 2),
        propC(kFirstSecondaryUnitHandle + 3);
    u32 number = 1;
    for (SecondarySteerableUnit* p : {&propA, &propB, &propC}) {
        p->cellSize = 32;
        p->radius = 8;
        p->unit.body().position = {80, 80};  // cell (2, 2)
        index.add(number++, p);
    }
    SecondarySteerableIMETrigger moving(index, sink);
    EXPECT_TRUE(moving.isEmpty());
    TestElement a(record), b(record), other(record);
    moving.addElement(2, b);
    moving.addElement(1, a);
    moving.addElement(1, other);  // a second element for number 1 is not filed
    // Number 3 has no element: skipped.
    EXPECT_FALSE(moving.isEmpty());

    PositionTriggerGroup movingGroup(grid, units);
    movingGroup.addTrigger(moving);
    unit().body().position = {70, 90};
    movingGroup.update(0.03f);
    movingGroup.update(0.03f);
    ASSERT_EQ(sink.seen.size(), 4u);
    EXPECT_EQ(sink.seen[0].second, &a);  // by number
    EXPECT_EQ(sink.seen[1].second, &b);
    EXPECT_EQ(other.scripted().applied, 0);

    propA.unit.body().position = {200, 200};
    index.refresh();
    sink.seen.clear();
    movingGroup.update(0.03f);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].second, &b);
}

}  // namespace
}  // namespace Zarn
