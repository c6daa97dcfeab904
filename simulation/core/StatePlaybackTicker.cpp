#include "simulation/core/StatePlaybackTicker.h"

#include <cmath>

#include "simulation/state/StateInterpolator.h"
#include "simulation/sync/GameStateBuffer.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

void StatePlaybackTicker::setTiming(u32 newRate, float newTickDelta) {
    rate = newRate;
    tickDelta = newTickDelta;
    steps = static_cast<u32>(static_cast<float>(rate) * tickDelta);
    halfSteps = steps >> 1;
}

void StatePlaybackTicker::setLatency(u32 milliseconds) {
    const auto tickMs = static_cast<u32>(std::lround(tickDelta * 1000.0f));
    steps = tickMs == 0 ? 0 : milliseconds / tickMs;
    halfSteps = steps >> 1;
}

void StatePlaybackTicker::update(float dt) {
    for (;;) {
        const std::size_t n = buffer_.size();
        if (waiting && n < steps) return;
        waiting = false;
        if (n <= 1) {
            waiting = true;
            return;
        }
        if (interpolator_.finished()) {
            interpolator_.start(buffer_.oldest(), useNewest ? buffer_.newest() : buffer_.secondOldest());
            continue;
        }
        interpolator_.step(dt);
        if (interpolator_.finished()) {
            if (steps != 0 && n > steps) {
                for (std::size_t i = 0; i < n - steps && !buffer_.empty(); ++i) buffer_.removeOldest();
            } else if (!buffer_.empty()) {
                buffer_.removeOldest();
            }
        }
        return;
    }
}

void ZarnExiter::update(float dt) {
    if (fired || isAnyonePlaying()) return;
    elapsed += dt;
    if (elapsed >= delay) {
        if (exitHandler) exitHandler();
        fired = true;
    }
}

bool ZarnExiter::isAnyonePlaying() const {
    if (singleClient) return units_.getUnit(clientID).state != UnitState::carried;
    bool playing = false;
    units_.forEachUnit(
        [&](u32, SteerableUnit& unit) { playing = playing || unit.state != UnitState::carried; });
    return playing;
}

}  // namespace Zarn
