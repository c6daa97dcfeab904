#include "world/effects/SteeringModifierSet.h"

#include <array>

namespace Zarn {

void SteeringModifierSet::add(std::unique_ptr<Modifier> modifier) {
    if (!modifier || locked != 0) return;
    const u8 kind = modifier->kind;
    auto it = modifiers_.find(kind);
    if (it == modifiers_.end()) {
        it = modifiers_.emplace(kind, std::move(modifier)).first;
    }
    it->second->reset();
}

Modifier* SteeringModifierSet::find(u8 kind) const {
    auto it = modifiers_.find(kind);
    return it == modifiers_.end() ? nullptr : it->second.get();
}

void SteeringModifierSet::clear() {
    if (visiting_ > 0) {
        for (auto& [kind, m] : modifiers_) retired_.push_back(std::move(m));
    }
    modifiers_.clear();
}

template <class Fn>
void SteeringModifierSet::visit(Fn&& fn) {
    // The kinds present when the visit starts; a kind dropped meanwhile is skipped.
    std::array<bool, 256> present{};
    for (const auto& entry : modifiers_) present[entry.first] = true;
    ++visiting_;
    for (unsigned kind = 0; kind < present.size(); ++kind) {
        if (!present[kind]) continue;
        auto it = modifiers_.find(static_cast<u8>(kind));
        if (it != modifiers_.end()) fn(static_cast<u8>(kind), it->second.get());
    }
    --visiting_;
    if (visiting_ == 0) retired_.clear();
}

void SteeringModifierSet::modifyAll(SteeringForces& forces) {
    visit([&](u8, Modifier* m) { m->modify(forces); });
}

void SteeringModifierSet::updateAll(float dt) {
    visit([&](u8 kind, Modifier* m) {
        m->update(dt);
        // The update may have emptied the set; look the kind up again.
        auto again = modifiers_.find(kind);
        if (again == modifiers_.end() || again->second.get() != m) return;
        if (m->isFinished()) {
            if (visiting_ > 0) retired_.push_back(std::move(again->second));
            modifiers_.erase(again);
        }
    });
}

}  // namespace Zarn
