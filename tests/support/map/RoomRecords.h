#pragma once

#include <type_traits>

#include "foundation/Geometry.h"
#include "map/records/TrapElement.h"
#include "support/map/MapBuilder.h"

namespace zarn_test {

// A trap record of the given element ID and number on one cell; interval
// traps get the active and rest times.
template <class R = Zarn::IntervalTrapElement>
R trapAt(u32 id, u32 number, GeometryLib::Point cell, float active = 0.5f, float rest = 0.5f) {
    R r;
    r.elementId = id;
    r.trapNumber = number;
    r.position = cell;
    r.coveredCells = Zarn::PointSet{cell};
    if constexpr (std::is_base_of_v<Zarn::IntervalTrapElement, R>) {
        r.activeTime = active;
        r.restTime = rest;
    }
    return r;
}

// Adds a boss fight: the boss (trap 27) on bossCell and the cell above it,
// its bomb dropper (20), small and large spawners (21, 22) over the three
// cells right of (2, 5), its two arms (23, 24) and a cannon (25) on
// cannonCell in the cannon group 26. Nothing enables the boss.
void addBossFight(MapBuilder& b, GeometryLib::Point bossCell, GeometryLib::Point cannonCell);

}  // namespace zarn_test
