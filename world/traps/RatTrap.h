#pragma once

#include <memory>

#include "map/records/TrapElement.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

// A two-cell snap trap on its record's position (the left cell) and the cell
// to its right. Armed (0) until a unit steps on either cell while enabled; then
// one sequence runs: startDelay with state 0, phase A for snapTime, B for
// activeTime, C for releaseTime, D for holdTime, 0 for restTime, and the trap
// is armed again. Set off from the right cell the phases show 1, 3, 5, 7; from
// the left cell 2, 4, 6, 8. Any unit sets it off, dead or alive. A contact
// during a sequence does not restart it; touches is true on either cell while
// the state is not 0.
//
// The record is owned by the game map and outlives the trap. Used on the
// thread that owns the world; update takes the tick delta in seconds.
class RatTrap : public Trap {
public:
    RatTrap(const RatTrapElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    // enabled := 0; the sequence stops where it is until enabled again.
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // sequenceTime := 0, state 0; triggered and fromLeft stay.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    // Copies hidden flag and value of a RatTrapIMEState; ignores other states.
    void setState(const InteractiveMapElementState& other) override;
    void update(float dt) override;

    // Owned by the game map.
    const RatTrapElement* ratRecord;
    RatTrapIMEState state;
    u8 enabled = 0;
    u8 triggered = 0;
    // Seconds since the trigger.
    float sequenceTime = 0.0f;
    // Ends of the delay and of the phases A, B, C, D and the final rest.
    float t1, t2, t3, t4, t5, t6;
    // 1 when the running sequence was set off from the left cell.
    u8 fromLeft = 0;
};

}  // namespace Zarn
