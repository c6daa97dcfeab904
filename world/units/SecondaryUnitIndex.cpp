#include "world/units/SecondaryUnitIndex.h"

#include <algorithm>

#include "world/grid/CellGrid.h"

namespace Zarn {

SecondaryUnitIndex::SecondaryUnitIndex(const CellGrid& grid) : grid_(&grid) {}

void SecondaryUnitIndex::add(SecondarySteerableUnit* unit) {
    if (!unit) return;
    if (std::find(units_.begin(), units_.end(), unit) == units_.end()) units_.push_back(unit);
    unindex(unit);
    index(unit);
}

void SecondaryUnitIndex::remove(SecondarySteerableUnit* unit) {
    unindex(unit);
    units_.erase(std::remove(units_.begin(), units_.end(), unit), units_.end());
}

void SecondaryUnitIndex::refresh() {
    for (SecondarySteerableUnit* unit : units_) {
        unindex(unit);
        index(unit);
    }
}

void SecondaryUnitIndex::index(SecondarySteerableUnit* unit) {
    GeometryLib::CellSet cells = unit->cells();
    for (const GeometryLib::Point& cell : cells) cellToUnits_[cell].insert(unit);
    unitToCells_[unit] = std::move(cells);
}

void SecondaryUnitIndex::unindex(SecondarySteerableUnit* unit) {
    auto it = unitToCells_.find(unit);
    if (it == unitToCells_.end()) return;
    for (const GeometryLib::Point& cell : it->second) {
        auto c = cellToUnits_.find(cell);
        if (c == cellToUnits_.end()) continue;
        c->second.erase(unit);
        if (c->second.empty()) cellToUnits_.erase(c);
    }
    unitToCells_.erase(it);
}

SecondaryUnitSet SecondaryUnitIndex::unitsInCell(const GeometryLib::Point& mapPoint) const {
    return unitsAtCell(grid_->toCell(mapPoint));
}

SecondaryUnitSet SecondaryUnitIndex::unitsAtCell(const GeometryLib::Point& cell) const {
    auto it = cellToUnits_.find(cell);
    return it == cellToUnits_.end() ? SecondaryUnitSet() : it->second;
}

GeometryLib::CellSet SecondaryUnitIndex::cellsOf(const SecondarySteerableUnit* unit) const {
    auto it = unitToCells_.find(unit);
    return it == unitToCells_.end() ? GeometryLib::CellSet() : it->second;
}

}  // namespace Zarn
