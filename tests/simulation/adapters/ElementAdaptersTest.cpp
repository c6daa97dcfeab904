#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../support/FakeVisual.h"
#include "grid/CellGrid.h"
#include "map/records/CoinElement.h"
#include "map/records/DoorElement.h"
#include "map/records/SwitchElement.h"
#include "simulation/adapters/ElementAdapters.h"
#include "world/elements/Collectable.h"
#include "world/elements/Door.h"
#include "world/elements/Floor.h"
#include "world/units/SecondarySteerableUnit.h"

namespace {

using GeometryLib::Point;
using zarn_test::FakeVisual;
using ElementAdaptersTest = zarn_test::AdapterFixture;
using Log = std::vector<std::string>;

// A lever that starts in the value the copy starts with reports nothing at
// set-up; one that starts off reports its value at once; later flips are
// reported as (old, new).
TEST_F(ElementAdaptersTest, LeverSizesItsNodeAndReportsTheFirstValueOnlyWhenItDiffers) {
    Zarn::SwitchElement record;
    record.elementId = 35;
    record.position = Point(100, 100);
    Zarn::Lever lever(record, nullptr, grid);
    FakeVisual& visual = fake("lever");
    Zarn::Lever2D adapter(&lever, &visual);
    adapter.setupVisual();
    EXPECT_EQ(take(), (Log{"lever: size 160 160", "lever: schedule", "lever: visibility 0"}));

    lever.state.value = Zarn::EOnOffState::off;
    adapter.syncVisual();
    adapter.syncVisual();
    EXPECT_EQ(take(), (Log{"lever: state 1 0"}));

    record.startOff = 1;
    Zarn::Lever off(record, nullptr, grid);
    ASSERT_EQ(off.state.value, Zarn::EOnOffState::off);
    Zarn::Lever2D offAdapter(&off, &visual);
    offAdapter.setupVisual();
    EXPECT_EQ(take(),
              (Log{"lever: size 160 160", "lever: schedule", "lever: visibility 0", "lever: state 1 0"}));
}

// Hidden and value changing in one frame: the show or hide first, then the
// state, both with the values from before the frame; a tile element's floor
// follows the hiding the other way round.
TEST_F(ElementAdaptersTest, TileElementReportsHidingBeforeTheValueAndTurnsTheFloorAround) {
    Zarn::TileNumberedMapElement record;
    record.elementId = 42;
    record.cell = Point(2, 3);
    Zarn::Checkpoint checkpoint(record, nullptr);
    FakeVisual& visual = fake("checkpoint");
    floorAt(Point(2, 3), "floor");
    floorAt(Point(4, 4), "elsewhere");
    Zarn::Checkpoint2D adapter(&checkpoint, &visual, &tiles, &zOrder);
    adapter.setupVisual();
    EXPECT_EQ(take(), (Log{"checkpoint: schedule", "checkpoint: visibility 0"}));

    checkpoint.hide();
    checkpoint.state.value = Zarn::EOnOffState::off;
    adapter.syncVisual();
    EXPECT_EQ(take(), (Log{"checkpoint: showHide 0 1", "floor: showHide 1 0", "checkpoint: state 1 0"}));
    adapter.syncVisual();
    EXPECT_TRUE(take().empty());
}

// The pad orders itself in the middle of its row without the record's
// offset, hides the floor under it at once when shown, and keeps the carried
// client ID in its copy without reporting it.
TEST_F(ElementAdaptersTest, ElevatorPadSetUpAndPayloadChanges) {
    Zarn::ElevatorPadElement record;
    record.elementId = 60;
    record.cell = Point(1, 2);
    record.extra = 7;
    Zarn::ElevatorPad pad(record, nullptr);
    FakeVisual& visual = fake("pad");
    floorAt(Point(1, 2), "floor");
    Zarn::ElevatorPad2D adapter(&pad, &visual, &tiles, &zOrder);
    adapter.setupVisual();
    EXPECT_EQ(take(), (Log{"pad: schedule", "pad: size 160 160", "pad: visibility 0",
                           "pad: z " + std::to_string(zOrder.rowMiddle(2)), "floor: visibility 1"}));

    pad.state.payload = 5;
    adapter.syncVisual();
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(adapter.cachedState().payload, 5u);
    pad.state.value = 1;
    adapter.syncVisual();
    EXPECT_EQ(take(), (Log{"pad: state 0 1"}));

    Zarn::ElevatorPad hidden(record, nullptr);
    hidden.state.hidden = 1;
    Zarn::ElevatorPad2D hiddenAdapter(&hidden, &visual, &tiles, &zOrder);
    hiddenAdapter.setupVisual();
    EXPECT_EQ(take().back(), "pad: z " + std::to_string(zOrder.rowMiddle(2))) << "the floor keeps its look";
}

// Doors, coins and steered props: the free elements' set-up and reports.
TEST_F(ElementAdaptersTest, FreeElementsReportTheirValues) {
    Zarn::DoorElement doorRecord;
    doorRecord.elementId = 36;
    doorRecord.width = 64;
    doorRecord.height = 64;
    Zarn::Door door(doorRecord, grid, nullptr);
    FakeVisual& doorVisual = fake("door");
    Zarn::SimpleElement2D<Zarn::Door, Zarn::DoorIMEState> doorAdapter(&door, &doorVisual);
    doorAdapter.setupVisual();
    door.state.value = Zarn::EDoorState::open;
    doorAdapter.syncVisual();
    EXPECT_EQ(take(), (Log{"door: schedule", "door: visibility 0", "door: state 1 0"}));

    Zarn::CoinElement coinRecord;
    coinRecord.elementId = 348;
    Zarn::Collectable coin(coinRecord, nullptr);
    coin.state.value = Zarn::ECollectableState::taken;
    FakeVisual& coinVisual = fake("coin");
    Zarn::SimpleElement2D<Zarn::Collectable, Zarn::CollectableIMEState> coinAdapter(&coin, &coinVisual);
    coinAdapter.setupVisual();
    EXPECT_EQ(take(), (Log{"coin: schedule", "coin: visibility 0", "coin: state 0 3"}))
        << "a coin taken before its picture was made leaves at once";

    Zarn::FreeNumberedMapElement propRecord;
    propRecord.elementId = 301;
    Zarn::SecondarySteerableUnit unit(9);
    Zarn::SteerableIME prop(propRecord, unit);
    FakeVisual& propVisual = fake("drone");
    Zarn::SteerableElement2D propAdapter(&prop, &propVisual);
    propAdapter.setupVisual();
    prop.state.position = GeometryLib::FPoint(50.0f, 0.0f);
    propAdapter.syncVisual();
    prop.state.value = 6;
    propAdapter.syncVisual();
    EXPECT_EQ(take(), (Log{"drone: schedule", "drone: visibility 0", "drone: state 0 6"}))
        << "motion alone reports nothing";
}

// A plain tile element without a value never reports a state.
TEST_F(ElementAdaptersTest, FloorTileReportsOnlyItsHiding) {
    Zarn::WholeTileMapElement record;
    record.elementId = 140;
    record.cell = Point(0, 0);
    Zarn::Floor floor(record, nullptr);
    FakeVisual& visual = fake("belt");
    Zarn::SimpleTileElement2D<Zarn::InteractiveMapElementState> adapter(&floor, &visual, &tiles, &zOrder);
    adapter.setupVisual();
    take();
    floor.hide();
    adapter.syncVisual();
    EXPECT_EQ(take(), (Log{"belt: showHide 0 1"}));
}

}  // namespace
