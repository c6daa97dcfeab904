#pragma once

#include <memory>

#include "grid/Blockable.h"
#include "grid/RectBlockable.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class AutomaticDoorElement;
class BlockableManager;
class CellGrid;
class DoorElement;
class SteerableProximity;

// A door: blocks steered units while closed (value 1), lets them through while
// open (value 0). Never reacts to contact itself; actions, snapshots and reset
// change its state. As a blockable it forwards to its own rectangle, which
// contains points only while the door is closed. The builder adds the door (as
// a blockable) to the blockable manager.
//
// The record, the grid and the blockable manager belong to the loaded map and
// outlive the door. Used by the thread that owns the world.
class Door : public UpdatableInteractiveMapElement, public Blockable {
public:
    Door(const DoorElement& record, const CellGrid& grid, BlockableManager* blockables);
    ~Door() override;

    void enable() override { enabled = 1; }
    // Keeps the value.
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // Closed.
    void reset() override { state.value = EDoorState::closed; }
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override;
    void update(float dt) override;

    const std::vector<GeometryLib::Point>& coveredCells() const override;
    // False while open; the rectangle's answer while closed.
    bool contains(const GeometryLib::FPoint& point) const override;
    // The rectangle's, whatever the state.
    GeometryLib::FPoint blockingNormal(const GeometryLib::FPoint& position,
                                       const GeometryLib::FPoint& movement) override;

    bool isOpen() const { return state.value == EDoorState::open; }

    // The same record as `record`, typed.
    const DoorElement* doorRecord;
    DoorIMEState state;
    u8 enabled = 1;
    // The record's rectangle in map units (origin: the record's position).
    GeometryLib::FRect blockRect;
    std::unique_ptr<RectBlockable> blockable;
};

// A door that opens by itself while a unit stands on one of its sensor cells
// and closes in the first update after the last one has left. Contacts are
// reported only when a unit enters a sensor cell; the proximity remembers the
// unit until it leaves that cell (or the game).
class AutomaticDoor : public Door {
public:
    AutomaticDoor(const AutomaticDoorElement& record, const CellGrid& grid, BlockableManager* blockables,
                  std::unique_ptr<SteerableProximity> proximity);
    ~AutomaticDoor() override;

    // True for a unit on an enabled door's sensor cell; the unit is then
    // recorded there. No unit, no contact.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    bool reactsOnEnterOnly() override { return true; }
    // Enabled: open while a unit is recorded, closed otherwise; then forgets
    // the units that left their cells. A disabled door keeps its value.
    void update(float dt) override;

    // Owned by the game map.
    const AutomaticDoorElement* sensorRecord;
    std::unique_ptr<SteerableProximity> proximity;
};

}  // namespace Zarn
