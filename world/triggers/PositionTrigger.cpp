#include "world/triggers/PositionTrigger.h"

namespace Zarn {

void LastCellTable::store(const SteerableUnit& unit, const GeometryLib::Point& cell) {
    Entry& entry = entries_[&unit];
    entry.cell = cell;
    if (entry.life.expired()) entry.life = unit.lifeToken();
}

bool LastCellTable::isStored(const SteerableUnit& unit, const GeometryLib::Point& cell) const {
    auto it = entries_.find(&unit);
    // While a unit lives no other unit has its address, so a live token is its own.
    if (it == entries_.end() || it->second.life.expired()) return false;
    return it->second.cell.x == cell.x && it->second.cell.y == cell.y;
}

}  // namespace Zarn
