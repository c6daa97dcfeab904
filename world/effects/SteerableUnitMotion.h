#pragma once

#include <array>
#include <memory>
#include <vector>

#include "world/effects/SteeringModifierSet.h"
#include "world/effects/SteeringSet.h"

namespace Zarn {

class SteerableUnit;

// The motion part of a steerable unit: which forces act on the unit's body in
// each tick. Embedded in the unit; the steerable simulator calls update once
// per tick (on the thread that owns the world), then moves the unit.
class SteerableUnitMotion {
public:
    explicit SteerableUnitMotion(SteerableUnit& unit);
    ~SteerableUnitMotion();
    SteerableUnitMotion(const SteerableUnitMotion&) = delete;
    SteerableUnitMotion& operator=(const SteerableUnitMotion&) = delete;

    // One tick of dt seconds: sums the behaviours' forces, applies friction and
    // the modifiers, hands the sum to the body, then the late behaviours; then
    // advances the modifiers and drops what finished.
    void update(float dt);

    // Files a movement behaviour while `steerable` is set; drops it otherwise.
    void addSteering(std::unique_ptr<Steering> behaviour);
    // Files a behaviour that acts for a tick or a few (pushes of traps and belts).
    void addImpulse(std::unique_ptr<Steering> behaviour);
    // Files a behaviour evaluated after the first forces are applied.
    void addLateSteering(std::unique_ptr<Steering> behaviour);

    // Empties the movement behaviours and the impulses and clears the push and
    // its four flags. Modifiers and late behaviours stay.
    void reset();

    bool anyPushFlag() const { return pushFlags[0] || pushFlags[1] || pushFlags[2] || pushFlags[3]; }

    SteerableUnit& owner() const { return *unit_; }

    // Filed by effects through add (the `locked` word lives in the set).
    SteeringModifierSet modifiers;
    SteeringSet steering;
    SteeringSet impulses;
    SteeringSet lateSteering;
    // Movement steering may be installed and the push applies.
    u8 steerable = 1;
    // Scales the body's own and external velocity into a braking force every tick.
    float friction = -0.3f;
    // Set from outside with `push`; cleared when the push is not applied.
    std::array<u8, 4> pushFlags{};
    // A constant push added to the steering force of every tick in which the
    // unit is not otherwise steered.
    GeometryLib::FPoint push;
    // Kept for whoever sets the push; the motion does not read it.
    float pushStrength = 50.0f;

private:
    // The unit this motion belongs to; it embeds the motion, so it outlives it.
    SteerableUnit* unit_;
    std::vector<const Steering*> finishedSteering_;
    std::vector<const Steering*> finishedImpulses_;
};

}  // namespace Zarn
