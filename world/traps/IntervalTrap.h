#pragma once

#include <functional>
#include <memory>
#include <unordered_map>

#include "map/records/TrapElement.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class BombableIntervalTrap;

// The timed traps: trap doors, spikes and cannons that cycle between harmless
// and lethal phases, falling bombs, traps a bomb can destroy, and delayed traps
// set off by a step. State values (EIntervalTrapState): 0 arming, 1 active
// (lethal), 2 disarming, 3 idle, 4 destroyed, 5 intercepted. Created disabled
// in the rest state: 1 when the record's startsActive is set, else 3.
//
// The record is owned by the game map and outlives the trap. Used on the thread
// that owns the world; update takes the tick delta in seconds.
class BaseIntervalTrap : public Trap {
public:
    BaseIntervalTrap(const IntervalTrapElement& record, std::unique_ptr<Effect> effect);

    // enabled := 1; the timers keep their values.
    void enable() override { enabled = 1; }
    // enabled := 0, then reset.
    void disable() override;
    bool isEnabled() const override { return enabled != 0; }
    // Timers to 0, state value to the rest value.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    // Copies hidden flag and value of an IntervalTrapIMEState; ignores other states.
    void setState(const InteractiveMapElementState& other) override;

    // 1 (active) when the record's startsActive is set, else 3 (idle).
    EIntervalTrapState restValue() const;
    const IntervalTrapElement& intervalRecord() const { return *intervalRecord_; }

    IntervalTrapIMEState state;
    // Seconds into the current cycle.
    float cycleTime = 0.0f;
    // Seconds of the start delay already spent.
    float delayTime = 0.0f;
    u8 enabled = 0;

protected:
    // Spends the record's start delay. False while it still runs; otherwise
    // `step` is the time that counts for the cycle (dt, or the overshoot past
    // the delay in the update that ends it).
    bool spendStartDelay(float dt, float& step);
    // Advances the endless cycle by `step`: arming for half the rest time,
    // active for the active time, disarming for the other half. A cycle of
    // length 0 leaves the state as it is.
    void advanceCycle(float step);

private:
    // Owned by the game map.
    const IntervalTrapElement* intervalRecord_;
};

// The endlessly repeating interval trap. Lethal while enabled and active; a
// disabled one is lethal exactly when its record starts it active.
class IntervalTrap : public BaseIntervalTrap {
public:
    using BaseIntervalTrap::BaseIntervalTrap;

    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void update(float dt) override;
};

// Bomb targets: the bombable traps spawned by a trap spawner, by cell. Owned by
// that spawner.
using BombableTrapTable =
    std::unordered_map<GeometryLib::Point, BombableIntervalTrap*, GeometryLib::PointHash>;

// A one-shot bomb: falls for startDelay (state 0), explodes for activeTime
// (1), then rests for restTime (2) and is done (3). In the last 0.06 s of its
// fall it lands on an active bombable trap of `targets` at its position
// instead: that trap is destroyed, onIntercept is called and the bomb takes
// state 5 without exploding.
class Bomb : public BaseIntervalTrap {
public:
    using BaseIntervalTrap::BaseIntervalTrap;

    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void update(float dt) override;

    u8 finished = 0;
    u8 intercepted = 0;
    // Null unless the bomb's spawner sets it; the table outlives the bomb.
    const BombableTrapTable* targets = nullptr;
    std::function<void()> onIntercept;

private:
    bool landOnTarget();
};

// An interval trap that a bomb can destroy: once bombed it is active for 0.5 s
// and then destroyed (4), lethal both times, and ignores disable until reset.
class BombableIntervalTrap : public BaseIntervalTrap {
public:
    using BaseIntervalTrap::BaseIntervalTrap;

    void disable() override;
    void reset() override;
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void update(float dt) override;

    u8 bombed = 0;
    float bombedTime = 0.0f;
};

// A trap that runs one cycle when set off.
class TriggeredIntervalTrap : public BaseIntervalTrap {
public:
    TriggeredIntervalTrap(const DelayedTrapElement& record, std::unique_ptr<Effect> effect)
        : BaseIntervalTrap(record, std::move(effect)), delayedRecord(&record) {}

    u8 triggered = 0;
    // Owned by the game map.
    const DelayedTrapElement* delayedRecord;
};

// Set off when a living unit steps on its anchor cell (the record's position)
// while enabled: waits startDelay, arming (0, harmless) through it where it
// rests idle, is lethal (1) on that cell for activeTime,
// then rests (3); it can be set off again once activeTime + restTime have
// passed since the delay ended. Other cells of its coverage are never lethal.
class DelayedTrap : public TriggeredIntervalTrap {
public:
    using TriggeredIntervalTrap::TriggeredIntervalTrap;

    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void update(float dt) override;
};

// Alive for the traps: the state word is below 3, or above 8 and not 22.
bool isAliveForTraps(const SteerableUnit& unit);

// x truncated toward zero (the whole-number part), as the trap timers use it.
float truncated(float x);

}  // namespace Zarn
