#pragma once

#include <set>

#include "world/units/SteerableUnit.h"

namespace Zarn {

class NodeMediator;
class PlayerAnimController;
class ZOrderCalculator;

// Binds one unit to the node mediator and the animation controller of its
// visual and carries the per-frame work in four steps, which the visuals call
// in the order state, effects, transform, move. The shown state and the shown
// effect set make each change fire once.
//
// The mediator, the controller and the calculator belong to the visual and
// the scene and outlive the record. The unit is watched: once the world has
// destroyed it, every step does nothing. Main thread only, in the engine's
// frame. The steps are virtual so that a test can record their order.
class SteerableVisualSync {
public:
    // A unit faster than this (map units per second) runs; at it or slower it
    // stands.
    static constexpr float kRunSpeed = 10.0f;

    SteerableVisualSync(NodeMediator* node, SteerableUnit* unit, PlayerAnimController* controller,
                        const ZOrderCalculator* zOrder);
    virtual ~SteerableVisualSync() = default;
    SteerableVisualSync(const SteerableVisualSync&) = delete;
    SteerableVisualSync& operator=(const SteerableVisualSync&) = delete;

    // While no state animation plays: run above kRunSpeed, else stand.
    virtual void updateMoveAnimation();
    // Back to state 0: reset; another state: stop running and idling, then
    // play the new state's animation.
    virtual void updateStateAnimation();
    // Effects the unit gained start, in ascending order, then effects it lost
    // end.
    virtual void updateEffects();
    // Unless frozen: drawing order and facing (unless a state animation
    // plays), then the position, which follows the unit always.
    virtual void updateTransform();

    i32 shownState() const { return shownState_; }
    const std::set<i32>& shownEffects() const { return shownEffects_; }
    SteerableUnit* unit() const { return unit_.get(); }
    PlayerAnimController* controller() const { return controller_; }

    // Set: the transform step does nothing (a carrier takes the visual along).
    u8 frozen = 0;
    // Set: the node turns with the heading; clear (2D visuals): the node is
    // mirrored when it faces left instead.
    u8 rotate = 1;

private:
    NodeMediator* node_;
    WatchedUnit unit_;
    PlayerAnimController* controller_;
    i32 shownState_ = 0;
    std::set<i32> shownEffects_;
    const ZOrderCalculator* zOrder_;
};

// The facing of a heading (radians, 0 along +y): 180 - heading in degrees.
float headingToRotation(float heading);

}  // namespace Zarn
