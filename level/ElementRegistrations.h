#pragma once

#include <utility>
#include <vector>

#include "foundation/Geometry.h"

namespace Zarn {

class InteractiveMapElement;
class PositionIMETrigger;

// Files elements on the position-element trigger and remembers each filing,
// so that a load that fails can take them all back. The trigger and the
// elements belong to the world; used by the loading thread.
class ElementRegistrations {
public:
    explicit ElementRegistrations(PositionIMETrigger& trigger) : trigger_(trigger) {}

    void add(InteractiveMapElement& element, const std::vector<GeometryLib::Point>& cells);
    // Removes every filing made through this object, last first, and forgets them.
    void undo();
    // Forgets the filings (they stay on the trigger).
    void keep() { made_.clear(); }
    std::size_t size() const { return made_.size(); }

private:
    PositionIMETrigger& trigger_;
    std::vector<std::pair<InteractiveMapElement*, std::vector<GeometryLib::Point>>> made_;
};

}  // namespace Zarn
