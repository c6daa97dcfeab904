#pragma once

#include "map/records/MapEventData.h"
#include "world/triggers/PositionTrigger.h"

namespace Zarn {

struct MapEventRunner;

// Cells -> map events (trigger kinds 5 and 20). A unit arriving on a cell
// (from another cell, or on first sight) fires the events filed there, in
// filing order; a unit that stays fires nothing more. An event that has no
// firings left leaves the cell it fired from.
//
// The runner belongs to the event trigger set, the records to the game map;
// both outlive the trigger. Used by the thread that owns the world.
class PositionEventTrigger : public PositionTrigger {
public:
    explicit PositionEventTrigger(const MapEventRunner& runner) : runner_(runner) {}

    // Files a position event (PositionTriggerData) under its cell; other
    // trigger classes are not filed.
    void addPositionTrigger(const MapEventData& event);
    // Files an area event (AreaTriggerData) under every cell of its list, in
    // list order; other trigger classes are not filed.
    void addAreaTrigger(const MapEventData& event);

    // The events fire with the arriving client as their actor. A firing that
    // throws passes out; the pairs of exhausted events erased before it stay
    // erased.
    void onUnitOnCell(const GeometryLib::Point& cell, u32 clientId, SteerableUnit& unit) override;
    bool isEmpty() const override { return cells_.empty(); }

    const PointMultimap<const MapEventData*>& cells() const { return cells_; }

private:
    const MapEventRunner& runner_;
    PointMultimap<const MapEventData*> cells_;
};

}  // namespace Zarn
