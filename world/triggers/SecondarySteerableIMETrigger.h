#pragma once

#include <unordered_map>

#include "world/triggers/PositionTrigger.h"

namespace Zarn {

class EffectEventTrigger;
class InteractiveMapElement;
class SecondaryUnitIndex;

// The contact flow for elements that move (secondary steerable elements):
// the numbers of the elements covering a unit's cell come from the
// secondary-unit cell index, visited in its order (ascending number). A
// touching element acts on every tick; there is no last-cell memory.
//
// Elements, index and sink are not owned: they belong to the world and the
// event trigger set and outlive the trigger. Used by the thread that owns the
// world.
class SecondarySteerableIMETrigger : public PositionTrigger {
public:
    SecondarySteerableIMETrigger(const SecondaryUnitIndex& index, EffectEventTrigger& sink)
        : index_(index), sink_(sink) {}

    // Files the element under its secondary-steerable number (the number the
    // index knows it by). A second element for a number already filed is not
    // filed.
    void addElement(u32 number, InteractiveMapElement& element);

    // The client ID is not used. Throws of an element or the sink pass out.
    void onUnitOnCell(const GeometryLib::Point& cell, u32 clientId, SteerableUnit& unit) override;
    bool isEmpty() const override { return elements_.empty(); }

private:
    // Lookups only, never iterated.
    std::unordered_map<u32, InteractiveMapElement*> elements_;
    const SecondaryUnitIndex& index_;
    EffectEventTrigger& sink_;
};

}  // namespace Zarn
