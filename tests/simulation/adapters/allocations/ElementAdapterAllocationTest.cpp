#include <gtest/gtest.h>

#include "../../support/FakeVisual.h"
#include "map/records/CoinElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElevatorPadElement.h"
#include "map/records/SwitchElement.h"
#include "simulation/adapters/ElementAdapters.h"
#include "support/AllocationCounter.h"
#include "world/elements/Collectable.h"
#include "world/elements/Door.h"
#include "world/units/SecondarySteerableUnit.h"

namespace {

using GeometryLib::Point;

// A picture that only counts what it is told: reporting to it allocates
// nothing, so the count is the adapters' own.
class CountingVisual : public zarn_test::FakeVisual {
public:
    explicit CountingVisual(std::vector<std::string>& log) : FakeVisual("counting", log) {}
    void onVisibilityChanged(u8) override { ++calls; }
    void onStateChanged(u32, u32) override { ++calls; }
    void onShowHide(u32, u8) override { ++calls; }
    int calls = 0;
};

using ElementAdapterAllocations = zarn_test::AdapterFixture;

// Every frame each adapter compares the element's state with its copy;
// neither that nor reporting a change (to the picture and to the floor
// tiles of the cell) may allocate.
TEST_F(ElementAdapterAllocations, FramesAllocateNothingWhetherOrNotAStateChanged) {
    CountingVisual visual(log);
    CountingVisual floor(log);
    tiles[Point(2, 3)].push_back(&floor);
    tiles[Point(1, 2)].push_back(&floor);

    Zarn::SwitchElement leverRecord;
    leverRecord.elementId = 35;
    Zarn::Lever lever(leverRecord, nullptr, grid);
    Zarn::Lever2D leverAdapter(&lever, &visual);
    Zarn::TileNumberedMapElement checkpointRecord;
    checkpointRecord.elementId = 42;
    checkpointRecord.cell = Point(2, 3);
    Zarn::Checkpoint checkpoint(checkpointRecord, nullptr);
    Zarn::Checkpoint2D checkpointAdapter(&checkpoint, &visual, &tiles, &zOrder);
    Zarn::ElevatorPadElement padRecord;
    padRecord.elementId = 60;
    padRecord.cell = Point(1, 2);
    Zarn::ElevatorPad pad(padRecord, nullptr);
    Zarn::ElevatorPad2D padAdapter(&pad, &visual, &tiles, &zOrder);
    Zarn::DoorElement doorRecord;
    doorRecord.elementId = 36;
    doorRecord.width = 64;
    doorRecord.height = 64;
    Zarn::Door door(doorRecord, grid, nullptr);
    Zarn::SimpleElement2D<Zarn::Door, Zarn::DoorIMEState> doorAdapter(&door, &visual);
    Zarn::CoinElement coinRecord;
    coinRecord.elementId = 348;
    Zarn::Collectable coin(coinRecord, nullptr);
    Zarn::SimpleElement2D<Zarn::Collectable, Zarn::CollectableIMEState> coinAdapter(&coin, &visual);
    Zarn::FreeNumberedMapElement droneRecord;
    droneRecord.elementId = 301;
    Zarn::SecondarySteerableUnit unit(9);
    Zarn::SteerableIME drone(droneRecord, unit);
    Zarn::SteerableElement2D droneAdapter(&drone, &visual);
    leverAdapter.setupVisual();
    checkpointAdapter.setupVisual();
    padAdapter.setupVisual();
    doorAdapter.setupVisual();
    coinAdapter.setupVisual();
    droneAdapter.setupVisual();
    auto frame = [&] {
        leverAdapter.syncVisual();
        checkpointAdapter.syncVisual();
        padAdapter.syncVisual();
        doorAdapter.syncVisual();
        coinAdapter.syncVisual();
        droneAdapter.syncVisual();
    };
    visual.calls = 0;
    floor.calls = 0;

    zarn_test::AllocationCounter counter;
    for (int i = 0; i < 100; ++i) frame();
    EXPECT_EQ(counter.count(), 0u) << "steady frames";
    EXPECT_EQ(visual.calls, 0);

    lever.state.value = Zarn::EOnOffState::off;
    checkpoint.hide();
    checkpoint.state.value = Zarn::EOnOffState::off;
    pad.state.value = 1;
    pad.state.payload = 4;
    door.state.value = Zarn::EDoorState::open;
    coin.state.value = Zarn::ECollectableState::taken;
    drone.state.value = 6;
    drone.state.position = GeometryLib::FPoint(30.0f, 40.0f);
    counter.reset();
    frame();
    EXPECT_EQ(counter.count(), 0u) << "a frame that reports every kind of change";
    EXPECT_EQ(visual.calls, 7) << "six values and the checkpoint's hiding";
    EXPECT_EQ(floor.calls, 1) << "the floor under the checkpoint";
}

}  // namespace
