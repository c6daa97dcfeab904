#include "world/effects/SteeringSet.h"

#include <algorithm>

namespace Zarn {

Steering* SteeringSet::add(std::unique_ptr<Steering> behaviour) {
    if (!behaviour) return nullptr;
    Steering* key = behaviour.get();
    entries_.push_back(std::move(behaviour));
    ++count_;
    return key;
}

bool SteeringSet::contains(const Steering* key) const {
    if (!key) return false;
    return std::any_of(entries_.begin(), entries_.end(), [key](const auto& e) { return e.get() == key; });
}

void SteeringSet::remove(const Steering* key) {
    if (!key) return;
    for (auto& e : entries_) {
        if (e.get() != key) continue;
        if (deferred()) {
            retired_.push_back(std::move(e));
        } else {
            e.reset();
        }
        --count_;
        compact();
        return;
    }
}

void SteeringSet::clear() {
    // While visiting, the slots stay (emptied) so that the visit's positions hold.
    for (auto& e : entries_) {
        if (e && deferred()) retired_.push_back(std::move(e));
    }
    if (visiting_ > 0) {
        for (auto& e : entries_) e.reset();
    } else {
        entries_.clear();
    }
    count_ = 0;
}

void SteeringSet::compact() {
    if (visiting_ > 0) return;
    entries_.erase(std::remove(entries_.begin(), entries_.end(), nullptr), entries_.end());
    if (deferring_ == 0) retired_.clear();
}

void SteeringSet::endDeferral() {
    if (deferring_ > 0) --deferring_;
    compact();
}

}  // namespace Zarn
