#pragma once

#include <initializer_list>
#include <memory>
#include <type_traits>
#include <vector>

#include "map/records/ActionData.h"
#include "map/records/MapEventData.h"
#include "map/records/TrapElement.h"
#include "map/records/TriggerData.h"
#include "support/map/MapBuilder.h"
#include "support/map/RoomRecords.h"

namespace zarn_test {

// Records for the fixture rooms of the build tests.

inline std::unique_ptr<Zarn::ActionData> numberAction(u32 id, u32 number) {
    return std::make_unique<Zarn::NumberActionData>(id, number);
}

inline Zarn::ActionList actionList(std::vector<std::unique_ptr<Zarn::ActionData>> actions) {
    Zarn::ActionList list;
    for (auto& a : actions) list.push_back(std::move(a));
    return list;
}

// An event with a number trigger (kinds 6 to 18) or the start trigger (kind 1).
inline Zarn::MapEventData eventOf(u32 eventId, u32 triggerKind, u32 number, Zarn::ActionList actions) {
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
    e.actions = std::move(actions);
    return e;
}

// An open room of 10 x 8 cells of 32 map units, spawn point in cell (1, 1).
inline MapBuilder openRoom() {
    MapBuilder b("room", GeometryLib::Point(48, 48));
    b.grid(32, {"..........", "..........", "..........", "..........", "..........", "..........",
                "..........", ".........."});
    return b;
}

}  // namespace zarn_test
