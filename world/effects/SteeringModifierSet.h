#pragma once

#include <map>
#include <memory>
#include <vector>

#include "world/effects/Modifier.h"

namespace Zarn {

// The modifiers filed on one unit, at most one per kind, visited in ascending
// kind order. Part of the unit's motion; used by the thread that owns the world.
//
// Modifiers dropped while the set is being visited (a kill that empties the
// set from inside a modifier's step) are destroyed only after the visit.
class SteeringModifierSet {
public:
    // Files the modifier under its kind byte. Nothing is filed while `locked`
    // is non-zero (the modifier is dropped). When a modifier of that kind is
    // already filed, the new one is dropped and the filed one stays. In both
    // cases the filed modifier of that kind is then reset.
    void add(std::unique_ptr<Modifier> modifier);

    // Drops every modifier.
    void clear();
    bool empty() const { return modifiers_.empty(); }
    std::size_t size() const { return modifiers_.size(); }
    bool contains(u8 kind) const { return modifiers_.count(kind) != 0; }
    // The filed modifier of a kind, or null.
    Modifier* find(u8 kind) const;

    // Lets every modifier change the step's forces.
    void modifyAll(SteeringForces& forces);
    // Updates every modifier with dt, then drops each that reports finished.
    void updateAll(float dt);

    // While non-zero no modifier can be added.
    u32 locked = 0;

private:
    template <class Fn>
    void visit(Fn&& fn);

    std::map<u8, std::unique_ptr<Modifier>> modifiers_;
    std::vector<std::unique_ptr<Modifier>> retired_;
    int visiting_ = 0;
};

}  // namespace Zarn
