#pragma once

#include <map>
#include <memory>

#include "map/records/ScheduledTrapElement.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

// A trap whose lethal and harmless phases follow the timetable of its record,
// optionally looping, with a warning shown warningLead seconds before a switch
// to the lethal phase. State values (EIntervalTrapState): 0 warning, 1 lethal,
// 2 harmless, 3 idle (nothing ran yet). Entry kinds:
//
// | kind | when it begins                                                  |
// |------|-----------------------------------------------------------------|
// | 0    | harmless now; warning at its warning time; lethal at its end     |
// | 1    | lethal now; harmless at its end                                  |
// | 2    | flips the state once: 0 or 3 -> 1, 1 -> 2, 2 -> 0               |
// | 3    | harmless now; no warning, no switch at its end; ends a loop      |
//
// Enabled: lethal on its anchor cell (the record's position) while the state
// is 1. Disabled: lethal on every covered cell when the record starts it
// active. The record is owned by the game map and outlives the trap. Used on
// the thread that owns the world; update takes the tick delta in seconds.
class ScheduledTrap : public Trap {
public:
    ScheduledTrap(const ScheduledTrapElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    // enabled := 0, then reset.
    void disable() override;
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // Starts over, start delay included.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    // Copies hidden flag and value of an IntervalTrapIMEState; ignores other states.
    void setState(const InteractiveMapElementState& other) override;
    void update(float dt) override;

    EIntervalTrapState restValue() const;

    IntervalTrapIMEState state;
    // Owned by the game map.
    const ScheduledTrapElement* scheduleRecord;
    u8 enabled = 0;
    // The record's entries by time; of entries with equal times the first listed.
    std::map<float, const ScheduledTrapEntry*> timetable;
    // The schedule clock, seconds.
    float clock = 0.0f;
    // The entry in force; null after reset.
    const ScheduledTrapEntry* current = nullptr;
    // The current entry's start has been applied.
    u8 begun = 0;
    float delayTime = 0.0f;
    // The clock time of the current entry's warning step.
    float warningTime = 0.0f;
    // Steps of the current entry already done: warning, end, next-entry warning.
    u8 warned = 0;
    u8 ended = 0;
    u8 announced = 0;

private:
    void beginEntry(const ScheduledTrapEntry& entry, const ScheduledTrapEntry* next);
};

}  // namespace Zarn
