#include "world/units/SecondaryUnitIndex.h"

#include "grid/CellGrid.h"

namespace Zarn {

SecondaryUnitIndex::SecondaryUnitIndex(const CellGrid& grid) : grid_(&grid) {}

void SecondaryUnitIndex::add(u32 number, SecondarySteerableUnit* unit) {
    if (!unit) return;
    index(number, *unit);
    entries_[number] = unit;
}

void SecondaryUnitIndex::index(u32 number, const SecondarySteerableUnit& unit) {
    GeometryLib::CellSet cells = unit.cells();
    for (const GeometryLib::Point& cell : cells) cellToElements_[cell].insert(number);
    elementToCells_[number] = std::move(cells);
}

void SecondaryUnitIndex::remove(u32 number) {
    auto it = elementToCells_.find(number);
    if (it == elementToCells_.end()) return;
    for (const GeometryLib::Point& cell : it->second) {
        auto c = cellToElements_.find(cell);
        if (c == cellToElements_.end()) continue;
        c->second.erase(number);
        if (c->second.empty()) cellToElements_.erase(c);
    }
    elementToCells_.erase(it);
}

void SecondaryUnitIndex::refresh() {
    for (const auto& [number, unit] : entries_) {
        remove(number);
        index(number, *unit);
    }
}

ElementNumberSet SecondaryUnitIndex::elementsAt(const GeometryLib::FPoint& mapPoint) const {
    return elementsAtCell(grid_->toCell(GeometryLib::Point(mapPoint)));
}

ElementNumberSet SecondaryUnitIndex::elementsAtCell(const GeometryLib::Point& cell) const {
    auto it = cellToElements_.find(cell);
    return it == cellToElements_.end() ? ElementNumberSet() : it->second;
}

SecondaryUnitSet SecondaryUnitIndex::unitsInCell(const GeometryLib::Point& mapPoint) const {
    return unitsAtCell(grid_->toCell(mapPoint));
}

SecondaryUnitSet SecondaryUnitIndex::unitsAtCell(const GeometryLib::Point& cell) const {
    SecondaryUnitSet units;
    auto it = cellToElements_.find(cell);
    if (it == cellToElements_.end()) return units;
    for (u32 number : it->second) {
        auto e = entries_.find(number);
        if (e != entries_.end()) units.insert(e->second);
    }
    return units;
}

GeometryLib::CellSet SecondaryUnitIndex::cellsOf(u32 number) const {
    auto it = elementToCells_.find(number);
    return it == elementToCells_.end() ? GeometryLib::CellSet() : it->second;
}

}  // namespace Zarn
