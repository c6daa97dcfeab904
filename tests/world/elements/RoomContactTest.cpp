#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "grid/BlockableManager.h"
#include "map/records/CoinElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElevatorPadElement.h"
#include "map/records/MapElement.h"
#include "map/records/SwitchElement.h"
#include "world/elements/Checkpoint.h"
#include "world/elements/Collectable.h"
#include "world/elements/Door.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/Floor.h"
#include "world/elements/Lever.h"
#include "world/elements/LeverEffect.h"
#include "world/elements/SpawnPoints.h"
#include "world/steering/Arrival.h"
#include "world/steering/SteerableProximity.h"
#include "world/steering/SteerableSimulator.h"
#include "world/traps/TrapKills.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/triggers/PositionIMETrigger.h"
#include "world/triggers/PositionTriggerGroup.h"
#include "world/units/MoneyTally.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

struct RecordingSink : EffectEventTrigger {
    void onEffect(const EffectResult& result, InteractiveMapElement& element) override {
        seen.push_back({result.kind, result.applied, &element});
    }
    std::size_t count(u32 kind, u8 applied = 1) const {
        std::size_t n = 0;
        for (const auto& s : seen) n += s.kind == kind && s.applied == applied ? 1 : 0;
        return n;
    }
    struct Seen {
        u32 kind;
        u8 applied;
        InteractiveMapElement* element;
    };
    std::vector<Seen> seen;
};

// One row of a room, walked through the real contact flow: a lever on cell
// (2, 1), a checkpoint on (4, 1), a coin at (208, 48), a deadly tile on
// (8, 1); an automatic door whose sensor is (2, 3); an elevator pad on (10, 4).
class RoomContactTest : public testing::Test {
protected:
    RoomContactTest() : blockables(grid), ime(sink), group(grid, units) {
        zarn_test::openRoom(grid, 12, 6, 32);
        group.addTrigger(ime);
        spawns.setDefaultSpawnCell(Point(0, 1));
        units.addClient(1);
        unit = &units.getUnit(1);
        tally.addRow(1);
        sim.timeStep = kTick;
        sim.addUnit(1, unit);

        leverRecord.position = Point(2 * 32 + 10, 40);
        auto leverEffect = std::make_unique<LeverEffect>(zarn_test::recordingActions(ran, {"open"}),
                                                         zarn_test::recordingActions(ran, {"close"}));
        LeverEffect* rawLever = leverEffect.get();
        lever = std::make_unique<Lever>(leverRecord, std::move(leverEffect), grid);
        rawLever->lever = lever.get();
        ime.addElement(*lever, {lever->cell});

        checkpointRecord.cell = Point(4, 1);
        checkpointRecord.number = 3;
        auto checkpointEffect = std::make_unique<CheckpointEffect>(spawns);
        CheckpointEffect* rawCheckpoint = checkpointEffect.get();
        checkpoint = std::make_unique<Checkpoint>(checkpointRecord, std::move(checkpointEffect));
        rawCheckpoint->checkpoint = checkpoint.get();
        ime.addElement(*checkpoint, {checkpointRecord.cell});

        coinRecord.position = Point(208, 48);
        coinRecord.radius = 16;
        coin = std::make_unique<Collectable>(coinRecord, std::make_unique<MoneyEffect>(tally, 10));
        ime.addElement(*coin, {Point(5, 1), Point(6, 1), Point(7, 1)});

        deadlyRecord.cell = Point(8, 1);
        deadly = std::make_unique<Floor>(
            deadlyRecord, std::make_unique<SlowStopKillThenWait>(spawns, grid, 5, 2.0f, deadlyRecord.cell));
        deadly->enable();
        ime.addElement(*deadly, {deadlyRecord.cell});

        doorRecord.position = Point(32 * 3, 32 * 3);
        doorRecord.width = 32;
        doorRecord.height = 32;
        doorRecord.sensorCells.insert(Point(2, 3));
        door = std::make_unique<AutomaticDoor>(doorRecord, grid, &blockables,
                                               std::make_unique<SteerableProximityImpl>(units, grid));
        blockables.addBlockable(*door);
        ime.addElement(*door, {Point(2, 3)});

        padRecord.cell = Point(10, 4);
        padRecord.number = 60;
        auto padEffect = std::make_unique<ElevatorPadEffect>(padRecord, units, grid);
        ElevatorPadEffect* rawPad = padEffect.get();
        pad = std::make_unique<ElevatorPad>(padRecord, std::move(padEffect));
        rawPad->padState = &pad->state;
        ime.addElement(*pad, {padRecord.cell});
    }

    // One server step: units move, elements update, contacts are dispatched.
    void tick() {
        sim.step();
        door->update(kTick);
        pad->update(kTick);
        group.update(kTick);
    }
    void walkTo(FPoint target, int ticks) {
        unit->motion.addSteering(std::make_unique<Arrival>(unit, target, 16.0f));
        for (int i = 0; i < ticks; ++i) tick();
    }

    static constexpr float kTick = 0.03f;
    CellGrid grid;
    BlockableManager blockables;
    SpawnPoints spawns;
    SteerableUnitManager units;
    SteerableUnit* unit;
    MoneyTally tally;
    SteerableSimulator sim;
    RecordingSink sink;
    PositionIMETrigger ime;
    PositionTriggerGroup group;
    std::vector<std::string> ran;

    SwitchElement leverRecord;
    TileNumberedMapElement checkpointRecord;
    CoinElement coinRecord;
    WholeTileMapElement deadlyRecord;
    AutomaticDoorElement doorRecord;
    ElevatorPadElement padRecord;
    std::unique_ptr<Lever> lever;
    std::unique_ptr<Checkpoint> checkpoint;
    std::unique_ptr<Collectable> coin;
    std::unique_ptr<Floor> deadly;
    std::unique_ptr<AutomaticDoor> door;
    std::unique_ptr<ElevatorPad> pad;
};

TEST_F(RoomContactTest, AWalkAlongTheRowFlipsPaysRecordsAndKills) {
    unit->body().position = FPoint(16, 48);
    walkTo(FPoint(272, 48), 150);

    EXPECT_EQ(ran, std::vector<std::string>{"open"}) << "the lever flips once while the unit crosses it";
    EXPECT_FALSE(lever->isOn());
    EXPECT_EQ(sink.count(EffectKind::lever), 1u);
    EXPECT_EQ(spawns.findCheckpoint(1), checkpoint.get());
    EXPECT_EQ(checkpoint->state.value, EOnOffState::off);
    EXPECT_TRUE(coin->isTaken());
    EXPECT_EQ(tally.moneyOf(1), 10u) << "the coin pays once";
    EXPECT_EQ(sink.count(EffectKind::money), 1u);
    EXPECT_EQ(sink.count(EffectKind::kill), 1u);

    // Dead for 2 s, then back at the checkpoint.
    for (int i = 0; i < 80 && unit->state != 0; ++i) tick();
    EXPECT_EQ(unit->state, 0u);
    EXPECT_EQ(unit->body().position, FPoint(4 * 32 + 16, 32 + 16));
    tick();
    EXPECT_EQ(sink.count(EffectKind::checkpoint, 1), 2u) << "reached again after the kill";
}

TEST_F(RoomContactTest, TheDoorOpensWhileTheUnitStandsOnItsSensorAndShutsAfter) {
    unit->body().position = FPoint(16, 112);
    EXPECT_EQ(blockables.blockerAt({112, 112}), door.get());
    walkTo(FPoint(80, 112), 60);
    EXPECT_TRUE(door->isOpen());
    EXPECT_EQ(blockables.blockerAt({112, 112}), nullptr);
    walkTo(FPoint(16, 112), 60);
    EXPECT_FALSE(door->isOpen());
    EXPECT_EQ(blockables.blockerAt({112, 112}), door.get());
}

TEST_F(RoomContactTest, ThePadTakesTheUnitOnceAndSetsItDownOnItsCentre) {
    unit->body().position = FPoint(300, 150);
    walkTo(FPoint(340, 150), 100);
    EXPECT_EQ(unit->state, UnitState::carried);
    EXPECT_EQ(sink.count(EffectKind::elevatorPad), 1u);
    EXPECT_EQ(pad->state.payload, 1u);
    for (int i = 0; i < 200; ++i) tick();
    EXPECT_NEAR(unit->body().position.x, 336.0f, 2.0f);
    EXPECT_NEAR(unit->body().position.y, 144.0f, 2.0f);
    EXPECT_EQ(sink.count(EffectKind::elevatorPad), 1u) << "a carried unit is not taken again";
}

}  // namespace
}  // namespace Zarn
