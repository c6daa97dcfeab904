#include "world/steering/SteerableProximity.h"

#include "grid/CellGrid.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

bool SteerableProximityImpl::isUnitAt(const SteerableUnit* unit, const GeometryLib::Point& cell) const {
    auto it = entries_.find(unit);
    return it != entries_.end() && it->second.x == cell.x && it->second.y == cell.y;
}

void SteerableProximityImpl::prune() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        bool keep = false;
        if (units_->isLiveUnit(it->first)) {
            const GeometryLib::Point now = grid_->toCell(GeometryLib::Point(it->first->body().position));
            keep = now.x == it->second.x && now.y == it->second.y;
        }
        it = keep ? std::next(it) : entries_.erase(it);
    }
}

}  // namespace Zarn
