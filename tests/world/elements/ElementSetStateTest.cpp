#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../traps/TrapTestSupport.h"
#include "ElementTestSupport.h"
#include "map/records/BossElement.h"
#include "map/records/CoinElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElevatorPadElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/SwitchElement.h"
#include "world/elements/Checkpoint.h"
#include "world/elements/Collectable.h"
#include "world/elements/Door.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/LevelUpMode.h"
#include "world/elements/Lever.h"
#include "world/elements/MusicalNote.h"
#include "world/elements/SteerableIME.h"
#include "world/traps/Boss.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/RatTrap.h"
#include "world/traps/ScheduledTrap.h"
#include "world/traps/SpawningTrap.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

// One element of every class that takes received states, with a state of its
// own class in which every field differs from a new element's.
struct Row {
    std::string name;
    InteractiveMapElement* element;
    std::unique_ptr<InteractiveMapElementState> received;
};

template <class S>
std::unique_ptr<S> hiddenState() {
    auto s = std::make_unique<S>();
    s->hidden = 1;
    return s;
}

template <class S, class V>
std::unique_ptr<S> hiddenState(V value) {
    auto s = hiddenState<S>();
    s->value = value;
    return s;
}

class ElementSetStateTest : public testing::Test {
protected:
    ElementSetStateTest() { test::makeRoom(grid); }

    std::vector<Row> rows() {
        std::vector<Row> r;
        auto boss = hiddenState<BossState>();
        boss->state = 7;
        boss->health = 9;
        r.push_back({"boss", &bossTrap, std::move(boss)});
        r.push_back(
            {"interval trap", &interval, hiddenState<IntervalTrapIMEState>(EIntervalTrapState::active)});
        r.push_back(
            {"scheduled trap", &scheduled, hiddenState<IntervalTrapIMEState>(EIntervalTrapState::active)});
        r.push_back({"rat trap", &rat, hiddenState<RatTrapIMEState>(static_cast<ERatTrapState>(6))});
        auto arm = hiddenState<FollowHitTrapState>(u8{4});
        arm->armPosition = Point(70, 90);
        r.push_back({"boss arm", &armTrap, std::move(arm)});
        // The made traps' list is rebuilt from the spawner's own traps.
        r.push_back({"trap spawner", &spawner, hiddenState<SpawningIntervalTrapState>()});
        r.push_back({"checkpoint", &checkpoint, hiddenState<OnOffIMEState>(EOnOffState::off)});
        r.push_back({"lever", &lever, hiddenState<OnOffIMEState>(EOnOffState::off)});
        r.push_back({"door", &door, hiddenState<DoorIMEState>(EDoorState::open)});
        r.push_back({"coin", &coin, hiddenState<CollectableIMEState>(ECollectableState::taken)});
        auto pad = hiddenState<ElevatorPadState>(u8{1});
        pad->payload = 0x01020304;
        r.push_back({"elevator pad", &elevator, std::move(pad)});
        r.push_back({"musical note", &note,
                     hiddenState<MusicalNoteIMEState>(static_cast<EMusicalNoteState>(NoteValue::songDone))});
        r.push_back(
            {"level-up mode", &levelUp, hiddenState<LevelUpModeIMEState>(static_cast<ELevelUpModeState>(3))});
        auto prop = hiddenState<SecondarySteerableUnitState>(u8{2});
        prop->number = 77;
        prop->position = FPoint(100, 120);
        prop->velocity = FPoint(3, 4);
        prop->steeringVelocity = FPoint(1, 2);
        r.push_back({"steered prop", &steered, std::move(prop)});
        return r;
    }

    template <class R>
    static R numbered(u32 id, u32 number) {
        R record;
        record.elementId = id;
        record.number = number;
        return record;
    }

    CellGrid grid;
    SteerableUnitManager units;
    test::FakeTrapDirectory directory;
    test::FakeTrapSpawner factory;
    BossElement bossRecord;
    IntervalTrapElement intervalRecord = test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.5f, 0.5f);
    ScheduledTrapElement scheduledRecord;
    RatTrapElement ratRecord;
    DelayedTrapElement armRecord = test::intervalRecord<DelayedTrapElement>(132, 0.0f, 0.5f, 0.5f);
    TrapSpawningTrapElement spawnerRecord;
    TileNumberedMapElement checkpointRecord = numbered<TileNumberedMapElement>(42, 1);
    SwitchElement leverRecord = numbered<SwitchElement>(35, 2);
    DoorElement doorRecord = numbered<DoorElement>(36, 3);
    CoinElement coinRecord = numbered<CoinElement>(348, 4);
    ElevatorPadElement elevatorRecord = numbered<ElevatorPadElement>(60, 5);
    MusicalNoteElement noteRecord = numbered<MusicalNoteElement>(383, 6);
    LevelUpModeElement levelUpRecord;
    CombinedElement<FreeNumberedMapElement, CircleSubElement> propRecord =
        numbered<CombinedElement<FreeNumberedMapElement, CircleSubElement>>(300, 7);
    SecondarySteerableUnit propUnit{7};

    Boss bossTrap{bossRecord, nullptr, directory};
    IntervalTrap interval{intervalRecord, nullptr};
    ScheduledTrap scheduled{scheduledRecord, nullptr};
    RatTrap rat{ratRecord, nullptr};
    FollowHitTrap armTrap{armRecord, nullptr};
    TrapSpawningTrap spawner{spawnerRecord, nullptr, factory};
    Checkpoint checkpoint{checkpointRecord, makeNullEffect()};
    Lever lever{leverRecord, makeNullEffect(), grid};
    Door door{doorRecord, grid, nullptr};
    Collectable coin{coinRecord, makeNullEffect()};
    ElevatorPad elevator{elevatorRecord, makeNullEffect()};
    MusicalNote note{noteRecord, makeNullEffect()};
    LevelUpMode levelUp{directory, units, levelUpRecord};
    SteerableIME steered{propRecord, propUnit};
};

// An element takes a received state of its own class whole, and a state of
// another class changes nothing.
TEST_F(ElementSetStateTest, AnElementTakesAStateOfItsClassWholeAndIgnoresOthers) {
    InteractiveMapElementState foreign;
    foreign.hidden = 1;
    for (Row& row : rows()) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(row.element->getState() == *row.received) << "the fixture's state must differ";
        row.element->setState(foreign);
        EXPECT_EQ(row.element->getState().hidden, 0);
        row.element->setState(*row.received);
        EXPECT_TRUE(row.element->getState() == *row.received);
        row.element->setState(foreign);
        EXPECT_TRUE(row.element->getState() == *row.received);
    }
    EXPECT_EQ(propUnit.unit.body().position, FPoint(100, 120)) << "the prop moves to the received position";
}

}  // namespace
}  // namespace Zarn
