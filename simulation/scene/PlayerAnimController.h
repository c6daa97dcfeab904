#pragma once

#include "foundation/Types.h"

namespace Zarn {

// What a player character is doing, as its visual is told each frame by the
// player's visual sync: running or standing, the main state it is in
// (killed, squashed, carried ...), the timed effects acting on it, and its
// drawing order. The engine side implements it; the visual that owns the
// controller deletes it through this interface. Main thread only.
//
// State and effect IDs are the world's small integers (a unit's state word
// and its status values); 0 means no state.
class PlayerAnimController {
public:
    virtual ~PlayerAnimController() = default;

    virtual void startRunning() = 0;
    virtual void startIdle() = 0;
    virtual void stopRunning() = 0;
    virtual void stopIdle() = 0;
    virtual bool isInStateAnimation() = 0;
    virtual bool hasEffectAnimations() = 0;
    virtual bool isRunning() = 0;
    virtual bool isIdle() = 0;
    // The unit's main state changed from oldState to newState (not 0).
    virtual void playStateAnimation(i32 oldState, i32 newState) = 0;
    // An effect ended (started 0) or started (ended not read).
    virtual void changeEffect(i32 ended, i32 started) = 0;
    virtual void endStateAnimation(i32 unused) = 0;
    // The unit is back in state 0: stand, and end any state animation.
    virtual void reset() = 0;
    virtual void setZOrder(i32 z) = 0;
};

}  // namespace Zarn
