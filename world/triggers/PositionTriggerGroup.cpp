#include "world/triggers/PositionTriggerGroup.h"

#include "grid/CellGrid.h"
#include "world/triggers/PositionTrigger.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

void PositionTriggerGroup::update(float) {
    if (triggers_.empty()) return;
    units_.forEachUnit([this](u32 clientId, SteerableUnit& unit) {
        const GeometryLib::Point cell = grid_.toCell(GeometryLib::Point(unit.body().position));
        for (PositionTrigger* trigger : triggers_) trigger->onUnitOnCell(cell, clientId, unit);
    });
}

}  // namespace Zarn
