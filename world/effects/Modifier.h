#pragma once

#include "foundation/Interfaces.h"
#include "foundation/Types.h"
#include "world/steering/SteerableKinematics.h"

namespace Zarn {

class SteerableUnit;

// Modifier kinds: a unit's modifier set holds at most one modifier of a kind.
namespace ModifierKind {
inline constexpr u8 none = 0;
inline constexpr u8 steeringSpeed = 1;       // SteeringSpeedModifier
inline constexpr u8 timedSteeringSpeed = 2;  // TimedSteeringSpeedModifier
inline constexpr u8 drag = 5;                // DragModifier
inline constexpr u8 waitThenReset = 7;       // WaitThenResetModifier
}  // namespace ModifierKind

// Something an effect files on a unit that changes the unit's steering over
// the following ticks. Owned by the unit's modifier set (SteeringModifierSet);
// `unit` is the unit whose set holds it, so the unit outlives it.
class Modifier : public Convinience::Updatable {
public:
    explicit Modifier(SteerableUnit* unit) : unit(unit) {}

    // Advances the modifier by the tick delta in seconds.
    void update(float dt) override = 0;
    // Called by the set each time a modifier of this kind is filed, the first time included.
    virtual void reset() = 0;
    // True when the set is to drop the modifier.
    virtual bool isFinished() = 0;
    // Changes the forces of the current step.
    virtual void modify(SteeringForces& forces) = 0;

    SteerableUnit* unit;
    // Set by the filing effect before it files the modifier.
    u8 kind = ModifierKind::none;
};

}  // namespace Zarn
