#pragma once

#include <vector>

#include "foundation/Interfaces.h"

namespace Zarn {

class CellGrid;
class PositionTrigger;
class SteerableUnitManager;

// Once per tick hands every player unit's cell to every registered position
// trigger: units in the unit manager's order, triggers in registration order.
// The triggers belong to the event trigger set, the grid to the game map and
// the units to their manager; all outlive the group. Used by the thread that
// owns the world.
class PositionTriggerGroup : public Convinience::Updatable {
public:
    PositionTriggerGroup(const CellGrid& grid, const SteerableUnitManager& units)
        : grid_(grid), units_(units) {}

    void addTrigger(PositionTrigger& trigger) { triggers_.push_back(&trigger); }
    const std::vector<PositionTrigger*>& triggers() const { return triggers_; }

    // The delta is not used. A unit's cell is its body position, each
    // coordinate truncated toward zero to 16 bits, divided by the cell size. A
    // throw of a trigger passes out; the group keeps no state of its own
    // between units, so the next update starts afresh.
    void update(float dt) override;

private:
    std::vector<PositionTrigger*> triggers_;
    const CellGrid& grid_;
    const SteerableUnitManager& units_;
};

}  // namespace Zarn
