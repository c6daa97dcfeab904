#pragma once

#include <unordered_map>

#include "foundation/Geometry.h"

namespace Zarn {

class CellGrid;
class SteerableUnit;
class SteerableUnitManager;

// Which units stand on an element's cells, as reported by contacts.
class SteerableProximity {
public:
    using Entries = std::unordered_map<const SteerableUnit*, GeometryLib::Point>;

    virtual ~SteerableProximity() = default;
    // Records the cell at which the unit was seen (made when missing).
    virtual void setUnitCell(const SteerableUnit* unit, const GeometryLib::Point& cell) = 0;
    // True when the unit's recorded cell has the same x and y.
    virtual bool isUnitAt(const SteerableUnit* unit, const GeometryLib::Point& cell) const = 0;
    // Drops every entry whose unit left the game or no longer stands on its cell.
    virtual void prune() = 0;
    virtual bool hasUnits() const = 0;
    virtual const Entries& entries() const = 0;
};

// The proximity record of an automatic door: owned by the element that made
// it; the unit manager and the grid belong to the world and outlive it. A
// recorded unit pointer is read only after the manager confirms the unit lives.
class SteerableProximityImpl : public SteerableProximity {
public:
    SteerableProximityImpl(const SteerableUnitManager& units, const CellGrid& grid)
        : units_(&units), grid_(&grid) {}

    void setUnitCell(const SteerableUnit* unit, const GeometryLib::Point& cell) override {
        entries_[unit] = cell;
    }
    bool isUnitAt(const SteerableUnit* unit, const GeometryLib::Point& cell) const override;
    void prune() override;
    bool hasUnits() const override { return !entries_.empty(); }
    const Entries& entries() const override { return entries_; }

private:
    const SteerableUnitManager* units_;
    const CellGrid* grid_;
    Entries entries_;
};

}  // namespace Zarn
