#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "grid/BlockableManager.h"
#include "map/records/DoorElement.h"
#include "world/elements/Door.h"
#include "world/steering/SteerableProximity.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

// A door of 64 x 32 map units at (64, 96) in a room of 32-unit cells, and an
// automatic door whose sensor cells are (1, 3) and (4, 3).
class DoorTest : public testing::Test {
protected:
    DoorTest() : blockables(grid) {
        zarn_test::openRoom(grid, 10, 10, 32);
        record.position = Point(64, 96);
        record.width = 64;
        record.height = 32;
        autoRecord.position = Point(64, 96);
        autoRecord.width = 64;
        autoRecord.height = 32;
        autoRecord.sensorCells.insert(Point(1, 3));
        autoRecord.sensorCells.insert(Point(4, 3));
        units.addClient(1);
        units.addClient(2);
    }

    std::unique_ptr<AutomaticDoor> makeAutomatic() {
        return std::make_unique<AutomaticDoor>(autoRecord, grid, &blockables,
                                               std::make_unique<SteerableProximityImpl>(units, grid));
    }
    // Puts the unit in the middle of the cell.
    SteerableUnit& placed(u32 client, Point cell) {
        SteerableUnit& unit = units.getUnit(client);
        unit.body().position = FPoint(cell.x * 32 + 16.0f, cell.y * 32 + 16.0f);
        return unit;
    }

    CellGrid grid;
    BlockableManager blockables;
    SteerableUnitManager units;
    DoorElement record;
    AutomaticDoorElement autoRecord;
};

TEST_F(DoorTest, StartsClosedEnabledAndNeverTouches) {
    Door door(record, grid, &blockables);
    EXPECT_EQ(door.state.value, EDoorState::closed);
    EXPECT_TRUE(door.isEnabled());
    EXPECT_FALSE(door.reactsOnEnterOnly());
    for (Point cell : {Point(2, 3), Point(3, 3), Point(0, 0)})
        EXPECT_FALSE(door.touches(cell, &units.getUnit(1)));
    EXPECT_FALSE(door.touches(Point(2, 3), nullptr));
}

TEST_F(DoorTest, BlocksAsItsRectangleOnlyWhileClosed) {
    Door door(record, grid, &blockables);
    struct Case {
        FPoint point;
        bool insideRect;
    };
    const Case cases[] = {{{96, 112}, true},  {{64, 96}, true},    {{128, 128}, true},
                          {{63, 100}, false}, {{100, 129}, false}, {{20, 20}, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(door.contains(c.point), c.insideRect) << c.point.x << "," << c.point.y;
    }
    door.state.value = EDoorState::open;
    for (const Case& c : cases) EXPECT_FALSE(door.contains(c.point)) << c.point.x << "," << c.point.y;
    // The normal does not depend on the state.
    EXPECT_EQ(door.blockingNormal({96, 80}, {0, 20}), door.blockable->blockingNormal({96, 80}, {0, 20}));
    EXPECT_EQ(door.coveredCells(), door.blockable->coveredCells());
}

TEST_F(DoorTest, TheBlockableManagerSeesTheDoorOnlyWhileClosed) {
    Door door(record, grid, &blockables);
    blockables.addBlockable(door);
    EXPECT_EQ(blockables.blockerAt({96, 112}), &door);
    door.state.value = EDoorState::open;
    EXPECT_EQ(blockables.blockerAt({96, 112}), nullptr);
    door.reset();
    EXPECT_EQ(blockables.blockerAt({96, 112}), &door);
}

TEST_F(DoorTest, DisableKeepsTheValue) {
    Door door(record, grid, &blockables);
    door.state.value = EDoorState::open;
    door.disable();
    EXPECT_FALSE(door.isEnabled());
    EXPECT_EQ(door.state.value, EDoorState::open);
}

TEST_F(DoorTest, AutomaticDoorOpensForAUnitOnASensorCellAndClosesAfterItLeft) {
    auto door = makeAutomatic();
    EXPECT_TRUE(door->reactsOnEnterOnly());
    SteerableUnit& unit = placed(1, Point(1, 3));
    EXPECT_TRUE(door->touches(Point(1, 3), &unit));
    door->update(0.03f);
    EXPECT_TRUE(door->isOpen());
    // Standing on: no more contacts (enter only), the door stays open.
    door->update(0.03f);
    door->update(0.03f);
    EXPECT_TRUE(door->isOpen());

    placed(1, Point(1, 5));
    door->update(0.03f);  // still recorded in this update; dropped at its end
    door->update(0.03f);
    EXPECT_FALSE(door->isOpen());
    EXPECT_FALSE(door->proximity->hasUnits());
}

TEST_F(DoorTest, TwoUnitsKeepTheDoorOpenUntilBothHaveLeft) {
    auto door = makeAutomatic();
    door->touches(Point(1, 3), &placed(1, Point(1, 3)));
    door->touches(Point(4, 3), &placed(2, Point(4, 3)));
    door->update(0.03f);
    placed(1, Point(0, 0));
    for (int i = 0; i < 5; ++i) {
        door->update(0.03f);
        EXPECT_TRUE(door->isOpen());
    }
    placed(2, Point(0, 0));
    door->update(0.03f);
    door->update(0.03f);
    EXPECT_FALSE(door->isOpen());
}

TEST_F(DoorTest, AUnitThatLeavesTheGameNoLongerHoldsTheDoor) {
    auto door = makeAutomatic();
    door->touches(Point(1, 3), &placed(1, Point(1, 3)));
    door->update(0.03f);
    units.removeClient(1);
    door->update(0.03f);
    door->update(0.03f);
    EXPECT_FALSE(door->isOpen());
}

TEST_F(DoorTest, OtherCellsAndADisabledDoorLeaveTheProximityAlone) {
    auto door = makeAutomatic();
    SteerableUnit& unit = placed(1, Point(2, 3));
    EXPECT_FALSE(door->touches(Point(2, 3), &unit));
    EXPECT_FALSE(door->touches(Point(1, 3), nullptr));
    EXPECT_FALSE(door->proximity->hasUnits());
    door->update(0.03f);
    EXPECT_FALSE(door->isOpen()) << "no phantom unit opens the door";

    door->disable();
    EXPECT_FALSE(door->touches(Point(1, 3), &placed(1, Point(1, 3))));
    EXPECT_FALSE(door->proximity->hasUnits());
}

TEST_F(DoorTest, ADisabledAutomaticDoorNeitherOpensNorCloses) {
    auto door = makeAutomatic();
    door->touches(Point(1, 3), &placed(1, Point(1, 3)));
    door->disable();
    door->update(0.03f);
    EXPECT_FALSE(door->isOpen());

    door->enable();
    door->update(0.03f);
    EXPECT_TRUE(door->isOpen());
    door->disable();
    placed(1, Point(0, 0));
    for (int i = 0; i < 3; ++i) door->update(0.03f);
    EXPECT_TRUE(door->isOpen());
}

}  // namespace
}  // namespace Zarn
