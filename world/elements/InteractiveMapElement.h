#pragma once

#include <memory>

#include "foundation/Geometry.h"
#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElementState.h"

namespace Zarn {

class MapElement;
class SteerableUnit;
class TrapElement;

// An object of a room that has a state and reacts to units: traps, the boss,
// doors, levers, checkpoints, pads, coins, notes, props, groups. Owns its
// effect; the record it was built from belongs to the game map and outlives
// it. Used by the thread that owns the world.
class InteractiveMapElement {
public:
    // A null effect is replaced by a NullEffect.
    InteractiveMapElement(const MapElement& record, std::unique_ptr<Effect> effect);
    virtual ~InteractiveMapElement();
    InteractiveMapElement(const InteractiveMapElement&) = delete;
    InteractiveMapElement& operator=(const InteractiveMapElement&) = delete;

    virtual void enable() = 0;
    virtual void disable() = 0;
    virtual bool isEnabled() const = 0;
    // Whether a unit standing in the grid cell is affected now. The unit may be
    // null; an implementation that reads it tests it first.
    virtual bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) = 0;
    // When true, the effect applies only when a unit enters one of the cells.
    virtual bool reactsOnEnterOnly() { return false; }
    // Back to the state the map starts the element in.
    virtual void reset() = 0;
    // The state embedded in the element; valid for the element's lifetime.
    virtual InteractiveMapElementState& getState() = 0;
    // Adopts a received state of the element's own state class; a state of
    // another class is ignored.
    virtual void setState(const InteractiveMapElementState& state) = 0;
    virtual void show() { getState().hidden = 0; }
    virtual void hide() { getState().hidden = 1; }

    // The record the element was built from (owned by the game map).
    const MapElement* record;
    std::unique_ptr<Effect> effect;
};

// An element advanced once per tick.
class UpdatableInteractiveMapElement : public InteractiveMapElement {
public:
    using InteractiveMapElement::InteractiveMapElement;
    // dt: the tick delta in seconds.
    virtual void update(float dt) = 0;
};

// Base of every trap (and the boss): keeps its record typed.
class Trap : public UpdatableInteractiveMapElement {
public:
    Trap(const TrapElement& record, std::unique_ptr<Effect> effect);

    // The same record as `record`, typed (owned by the game map).
    const TrapElement* trapRecord;
};

}  // namespace Zarn
