#pragma once

// Fixture rooms for whole-world simulation tests: a 10 x 8 room of 32-unit
// cells with the spawn point at the centre of cell (1, 1), and helpers for
// its trap, event and boss records. Header-only.

#include <memory>
#include <type_traits>
#include <vector>

#include "map/records/ActionData.h"
#include "map/records/BossElement.h"
#include "map/records/DoorElement.h"
#include "map/records/GroupedTrapElement.h"
#include "map/records/MapEventData.h"
#include "map/records/TrapElement.h"
#include "map/records/TriggerData.h"
#include "support/map/MapBuilder.h"
#include "support/map/RoomRecords.h"

namespace zarn_test {

inline GeometryLib::FPoint cellCentre(GeometryLib::Point cell) {
    return GeometryLib::FPoint(cell.x * 32.0f + 16.0f, cell.y * 32.0f + 16.0f);
}

// An event fired by the start trigger (kind 1) or a number trigger (kinds 6 to 18).
inline Zarn::MapEventData eventWith(u32 eventId, u32 triggerKind, u32 number,
                                    std::vector<std::unique_ptr<Zarn::ActionData>> actions) {
    Zarn::MapEventData e;
    e.eventId = eventId;
    if (triggerKind == 1) {
        e.trigger = std::make_unique<Zarn::TriggerData>();
    } else {
        auto t = std::make_unique<Zarn::NumberTriggerData>();
        t->number = number;
        e.trigger = std::move(t);
    }
    e.trigger->triggerId = triggerKind;
    for (auto& a : actions) e.actions.push_back(std::move(a));
    return e;
}

inline std::vector<std::unique_ptr<Zarn::ActionData>> oneAction(u32 id, u32 number) {
    std::vector<std::unique_ptr<Zarn::ActionData>> v;
    v.push_back(std::make_unique<Zarn::NumberActionData>(id, number));
    return v;
}

inline MapBuilder fixtureRoom() {
    MapBuilder b("room", GeometryLib::Point(48, 48));
    b.grid(32, {"..........", "..........", "..........", "..........", "..........", "..........",
                "..........", ".........."});
    return b;
}

// A busy room: a spike on every cell of rows 6 and 7 (alternating timings), a
// boss with its spawners, arms and cannon group in the middle, all enabled by
// the start event.
inline MapBuilder busyRoom() {
    using GeometryLib::Point;
    MapBuilder b = fixtureRoom();
    std::vector<std::unique_ptr<Zarn::ActionData>> start;
    u32 number = 100;
    for (i16 y = 6; y <= 7; ++y) {
        for (i16 x = 0; x < 10; ++x, ++number) {
            b.trap(trapAt(43, number, Point(x, y), x % 2 ? 0.3f : 0.6f, 0.4f));
            start.push_back(std::make_unique<Zarn::NumberActionData>(0, number));
        }
    }
    addBossFight(b, Point(5, 4), Point(8, 4));
    start.push_back(std::make_unique<Zarn::NumberActionData>(0, 27));
    b.event(eventWith(1, 1, 0, std::move(start)));
    return b;
}

// A one-phase boss (trap 27, one health) whose arena is the four cells around
// the spawn point: the player stands on the spawn cell (1, 1), where the
// boss's bomb dropper (20) drops its bombs and its small spawner (21) puts
// bombable traps over (1, 1) and (2, 1). The start event enables the boss; a
// bomb that lands on an armed bombable trap costs it its health, and two
// seconds later it falls. When it does, its "trap disabled" event (kind 7,
// number 27, up to five firings) toggles the exit door 40 on (7, 3): a door
// that stands open afterwards was toggled an odd number of times.
inline MapBuilder bossDefeatRoom() {
    using GeometryLib::Point;
    MapBuilder b = fixtureRoom();
    auto dropper = trapAt(129, 20, Point(1, 1), 0.3f, 0.2f);
    dropper.startDelay = 0.3f;
    auto small = trapAt<Zarn::TrapSpawningTrapElement>(130, 21, Point(1, 1), 5.0f, 0.5f);
    small.coveredCells = Zarn::PointSet{Point(1, 1), Point(2, 1)};
    small.startDelay = 0.2f;
    small.spawnInterval = 1;
    small.minCount = 2;
    small.maxCount = 2;
    Zarn::BossElement boss;
    boss.elementId = 133;
    boss.trapNumber = 27;
    boss.position = Point(8, 6);
    boss.coveredCells = Zarn::PointSet{Point(0, 0), Point(1, 0), Point(2, 0), Point(0, 1), Point(1, 1),
                                       Point(2, 1), Point(0, 2), Point(1, 2), Point(2, 2)};
    boss.phaseCount = 1;
    boss.startHealth = 1;
    boss.idleTime = 0.5f;
    boss.bombTime = 2.0f;
    boss.spawnerTime = 100.0f;
    boss.bombTrapNumber = 20;
    boss.smallSpawnerNumber = 21;
    boss.bossCellA = Point(8, 6);
    boss.bossCellB = Point(8, 7);
    Zarn::DoorElement door;
    door.elementId = 36;
    door.number = 40;
    door.position = Point(7 * 32, 3 * 32);
    door.width = 32;
    door.height = 32;
    b.trap(dropper).trap(small).trap(boss).element(door);
    b.event(eventWith(1, 1, 0, oneAction(0, 27)));
    Zarn::MapEventData defeat = eventWith(2, 7, 27, oneAction(28, 40));
    defeat.trigger->count = 5;
    b.event(defeat);
    return b;
}

}  // namespace zarn_test
