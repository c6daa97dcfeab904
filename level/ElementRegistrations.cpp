#include "level/ElementRegistrations.h"

#include "world/triggers/PositionIMETrigger.h"

namespace Zarn {

void ElementRegistrations::add(InteractiveMapElement& element, const std::vector<GeometryLib::Point>& cells) {
    made_.emplace_back(&element, cells);
    trigger_.addElement(element, cells);
}

void ElementRegistrations::undo() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) trigger_.removeElement(*it->first, it->second);
    made_.clear();
}

}  // namespace Zarn
