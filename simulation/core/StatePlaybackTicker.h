#pragma once

#include <functional>

#include "foundation/Interfaces.h"
#include "foundation/Types.h"

namespace Zarn {

class GameStateBuffer;
class StateInterpolator;
class SteerableUnitManager;

// Plays the received states back through the interpolator: waits until
// `steps` states are buffered, then runs from the oldest state to the next
// (the newest with useNewest), dropping what is behind once a segment ends.
// The buffer and the interpolator belong to the client game core. Main thread.
class StatePlaybackTicker {
public:
    StatePlaybackTicker(GameStateBuffer& buffer, StateInterpolator& interpolator)
        : buffer_(buffer), interpolator_(interpolator) {}

    // dt: the frame time in seconds.
    void update(float dt);
    // rate states a second (66 in the core) times the tick delta, truncated.
    void setTiming(u32 rate, float tickDelta);
    // steps: the ticks of `milliseconds` at the current tick delta,
    // truncated; halfSteps half of that.
    void setLatency(u32 milliseconds);

    u32 rate = 1000;
    float tickDelta = 0.03f;
    u32 halfSteps = 15;
    u32 steps = 30;
    bool waiting = true;
    bool useNewest = false;

private:
    GameStateBuffer& buffer_;
    StateInterpolator& interpolator_;
};

// Calls the exit handler once, when nobody has been playing (every unit
// carried out of the level, state 17) for `delay` seconds of frames summed.
// Single-client mode looks at the unit of `clientID` only. Main thread.
class ZarnExiter : public Convinience::Updatable {
public:
    explicit ZarnExiter(SteerableUnitManager& units) : units_(units) {}
    void update(float dt) override;
    bool isAnyonePlaying() const;

    std::function<void()> exitHandler;
    float delay = 6.0f;
    float elapsed = 0.0f;
    bool fired = false;
    bool singleClient = false;
    u32 clientID = 0;

private:
    SteerableUnitManager& units_;
};

}  // namespace Zarn
