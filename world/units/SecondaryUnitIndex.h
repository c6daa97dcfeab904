#pragma once

#include <set>
#include <unordered_map>
#include <vector>

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

// Which secondary units cover which grid cells: cell -> units and unit ->
// cells, kept in step. The units and the grid are not owned; both live as
// long as the world that owns the index. Used by the thread that owns the world.
class SecondaryUnitIndex {
public:
    explicit SecondaryUnitIndex(const CellGrid& grid);

    // Files the unit and indexes its current cells.
    void add(SecondarySteerableUnit* unit);
    // Unfiles the unit and its cells; an unknown unit does nothing.
    void remove(SecondarySteerableUnit* unit);
    // Re-indexes every filed unit at its current position (once per step).
    void refresh();

    // The units filed for the cell that holds the map point; empty when none.
    SecondaryUnitSet unitsInCell(const GeometryLib::Point& mapPoint) const;
    // The same for a cell given in cell coordinates.
    SecondaryUnitSet unitsAtCell(const GeometryLib::Point& cell) const;
    // The cells recorded for a unit at its last indexing.
    GeometryLib::CellSet cellsOf(const SecondarySteerableUnit* unit) const;
    const std::vector<SecondarySteerableUnit*>& units() const { return units_; }

private:
    void index(SecondarySteerableUnit* unit);
    void unindex(SecondarySteerableUnit* unit);

    // Owned by the world's map; outlives the index.
    const CellGrid* grid_;
    std::vector<SecondarySteerableUnit*> units_;
    std::unordered_map<GeometryLib::Point, SecondaryUnitSet, GeometryLib::PointHash> cellToUnits_;
    std::unordered_map<const SecondarySteerableUnit*, GeometryLib::CellSet> unitToCells_;
};

}  // namespace Zarn
