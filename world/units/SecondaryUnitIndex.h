#pragma once

#include <map>
#include <set>
#include <unordered_map>

#include "foundation/GridCells.h"
#include "world/units/SecondarySteerableUnit.h"

namespace Zarn {

class CellGrid;

// Orders secondary units by handle, so sets of them are visited alike in
// every copy of the world.
struct SecondaryUnitOrder {
    bool operator()(const SecondarySteerableUnit* a, const SecondarySteerableUnit* b) const {
        return a->handle() < b->handle();
    }
};
using SecondaryUnitSet = std::set<SecondarySteerableUnit*, SecondaryUnitOrder>;
using ElementNumberSet = std::set<u32>;

// Which round moving elements (secondary units, by element number) cover which
// grid cells: cell -> numbers and number -> cells, kept in step.
// Invariant: a number is filed under cell c exactly when c is one of the cells
// recorded for it, and no cell maps to an empty set.
// The units and the grid are not owned; both live as long as the world that
// owns the index. Used by the thread that owns the world.
class SecondaryUnitIndex {
public:
    explicit SecondaryUnitIndex(const CellGrid& grid);

    // Indexes the unit's current cells under the number, then files the entry.
    void add(u32 number, SecondarySteerableUnit* unit);
    // Files the unit under its own handle as the number.
    void add(SecondarySteerableUnit* unit) {
        if (unit) add(unit->handle(), unit);
    }
    // Files the unit's current cells under the number (adds to what is filed;
    // cells it no longer covers stay until remove).
    void index(u32 number, const SecondarySteerableUnit& unit);
    // Unfiles the number from every cell recorded for it; the entry stays.
    // A number never indexed does nothing.
    void remove(u32 number);
    // Re-indexes every entry at its current position (remove, then index);
    // once per simulation step.
    void refresh();

    // The numbers filed under the cell of a map point (truncated to 16 bits).
    ElementNumberSet elementsAt(const GeometryLib::FPoint& mapPoint) const;
    ElementNumberSet elementsAtCell(const GeometryLib::Point& cell) const;
    // The units filed under the cell that holds the map point; empty when none.
    SecondaryUnitSet unitsInCell(const GeometryLib::Point& mapPoint) const;
    SecondaryUnitSet unitsAtCell(const GeometryLib::Point& cell) const;
    // The cells recorded for a number at its last indexing.
    GeometryLib::CellSet cellsOf(u32 number) const;
    // The entry table, in ascending number order.
    const std::map<u32, SecondarySteerableUnit*>& entries() const { return entries_; }

private:
    // Owned by the world's map; outlives the index.
    const CellGrid* grid_;
    std::map<u32, SecondarySteerableUnit*> entries_;
    std::unordered_map<GeometryLib::Point, ElementNumberSet, GeometryLib::PointHash> cellToElements_;
    std::unordered_map<u32, GeometryLib::CellSet> elementToCells_;
};

}  // namespace Zarn
