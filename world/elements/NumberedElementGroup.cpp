#include "world/elements/NumberedElementGroup.h"

namespace Zarn {

bool NumberedElementGroup::add(u32 number, InteractiveMapElement* element) {
    if (!index_.emplace(number, entries_.size()).second) return false;
    entries_.emplace_back(number, element);
    return true;
}

InteractiveMapElement* NumberedElementGroup::find(u32 number) const {
    auto it = index_.find(number);
    return it == index_.end() ? nullptr : entries_[it->second].second;
}

InteractiveMapElement& NumberedElementGroup::get(u32 number) const {
    auto it = index_.find(number);
    if (it == index_.end()) throw Convinience::Error("No such element number");
    InteractiveMapElement* element = entries_[it->second].second;
    if (!element) throw Convinience::Error("numbered element is of wrong type");
    return *element;
}

void NumberedElementGroup::forEach(const std::function<void(u32, InteractiveMapElement*)>& fn) const {
    for (const auto& [number, element] : entries_) fn(number, element);
}

void NumberedElementGroup::clear() {
    entries_.clear();
    index_.clear();
}

}  // namespace Zarn
