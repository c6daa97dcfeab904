#pragma once

#include <vector>

#include "world/triggers/PositionTrigger.h"

namespace Zarn {

class EffectEventTrigger;
class InteractiveMapElement;

// Cells -> interactive map elements (traps, doors, levers, coins, pads,
// scripted figures). A unit on a cell touches the elements filed there in
// filing order; each touching element applies its effect to the unit and the
// result goes to the sink with the element. Elements that react on entering
// only act on the tick at which the unit arrives on the cell.
//
// Elements and sink are not owned: the elements belong to the world's element
// lists (a destroyed trap is removed first), the sink to the event trigger
// set. Used by the thread that owns the world.
class PositionIMETrigger : public PositionTrigger {
public:
    explicit PositionIMETrigger(EffectEventTrigger& sink) : sink_(sink) {}

    // Files the element under each listed cell, in list order.
    void addElement(InteractiveMapElement& element, const std::vector<GeometryLib::Point>& cells);
    void addCellsForElement(InteractiveMapElement& element, const std::vector<GeometryLib::Point>& cells) {
        addElement(element, cells);
    }
    // Erases the element's pairs of each listed cell; other elements stay.
    void removeElement(InteractiveMapElement& element, const std::vector<GeometryLib::Point>& cells);

    // The client ID is not used. A throw of an element or the sink passes out;
    // the unit's cell is stored by then, the result is destroyed on the way.
    void onUnitOnCell(const GeometryLib::Point& cell, u32 clientId, SteerableUnit& unit) override;
    bool isEmpty() const override { return cells_.empty(); }

    const PointMultimap<InteractiveMapElement*>& cells() const { return cells_; }

private:
    PointMultimap<InteractiveMapElement*> cells_;
    EffectEventTrigger& sink_;
};

}  // namespace Zarn
