#include "simulation/state/ElementStateTable.h"

namespace Zarn {

ElementStateTable::ElementStateTable(const ElementStateTable& other) : index_(other.index_) {
    entries_.reserve(other.entries_.size());
    for (const Entry& e : other.entries_) entries_.emplace_back(e.first, e.second->clone());
}

ElementStateTable& ElementStateTable::operator=(const ElementStateTable& other) {
    if (this != &other) {
        ElementStateTable copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void ElementStateTable::put(u32 number, std::unique_ptr<InteractiveMapElementState> state) {
    auto it = index_.find(number);
    if (it != index_.end()) {
        entries_[it->second].second = std::move(state);
        return;
    }
    index_.emplace(number, entries_.size());
    entries_.emplace_back(number, std::move(state));
}

bool ElementStateTable::insert(u32 number, std::unique_ptr<InteractiveMapElementState> state) {
    if (contains(number)) return false;
    put(number, std::move(state));
    return true;
}

const InteractiveMapElementState* ElementStateTable::find(u32 number) const {
    auto it = index_.find(number);
    return it == index_.end() ? nullptr : entries_[it->second].second.get();
}

void ElementStateTable::clear() {
    entries_.clear();
    index_.clear();
}

bool ElementStateTable::operator==(const ElementStateTable& other) const {
    if (size() != other.size()) return false;
    for (const Entry& e : entries_) {
        const InteractiveMapElementState* o = other.find(e.first);
        if (!o || *e.second != *o) return false;
    }
    return true;
}

}  // namespace Zarn
