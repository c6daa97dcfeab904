#pragma once

#include <map>
#include <unordered_set>
#include <vector>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "map/records/ActionData.h"
#include "world/triggers/MapEventRegistry.h"

namespace Zarn {

struct MapEventRunner;

// Serves the events started by time (trigger kinds 1 and 19) and the delayed
// actions of timer actions. Its clock counts the seconds of the tick deltas
// it was updated with, from 0 when the trigger is made. Something due at time
// t runs at the first update after which the clock is strictly above t.
//
// The runner (and what it refers to) belongs to the event trigger set's owner
// and outlives the trigger; records and actions belong to the game map. Used
// by the thread that owns the world.
class TimerEventTrigger : public Convinience::Updatable, public MapEventObserver {
public:
    explicit TimerEventTrigger(const MapEventRunner& runner) : runner_(runner) {}

    // clock += dt; then fires the due events and runs the due delayed actions.
    void update(float dt) override;

    // Schedules a present, enabled event at clock + delay; otherwise nothing.
    // An event already waiting in the schedule keeps its time and is not
    // scheduled twice. A NaN delay schedules nothing.
    void schedule(const MapEventData& event, float delay);
    // A timer event (TimerTriggerData) that was enabled is scheduled with its
    // record's delay.
    void onEventEnabled(const MapEventData& event) override;
    // Files an action to run at the given time (behind those filed for the
    // same time). A NaN time files nothing.
    void scheduleAction(float time, const ActionData& action);

    float clock() const { return clock_; }
    // For inspection: how many events and actions wait.
    std::size_t scheduledEventCount() const { return scheduledEvents_.size(); }
    std::size_t scheduledActionCount() const;

private:
    void fireDueEvents();
    void runDueActions();

    const MapEventRunner& runner_;
    float clock_ = 0.0f;
    // Time -> events, each list in the order it was filed.
    std::map<float, std::vector<const MapEventData*>> events_;
    // The events that wait in events_, each at most once.
    std::unordered_set<const MapEventData*> scheduledEvents_;
    // Time -> delayed actions, each list in the order it was filed.
    std::map<float, std::vector<const ActionData*>> actions_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
