#include "world/triggers/TimerEventTrigger.h"

#include <cmath>

#include "foundation/CommandScheduler.h"
#include "world/triggers/ActionFactory.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/triggers/MapEventRunner.h"

namespace Zarn {

void TimerEventTrigger::update(float dt) {
    clock_ += dt;
    fireDueEvents();
    runDueActions();
}

void TimerEventTrigger::schedule(const MapEventData& event, float delay) {
    if (!runner_.registry.isEnabled(event.eventId)) return;
    if (std::isnan(delay)) {
        logger_.log(2, "Timer event " + std::to_string(event.eventId) + " has no valid delay");
        return;
    }
    if (!scheduledEvents_.insert(&event).second) return;
    events_[clock_ + delay].push_back(&event);
}

void TimerEventTrigger::onEventEnabled(const MapEventData& event) {
    if (const auto* timer = dynamic_cast<const TimerTriggerData*>(event.trigger.get())) {
        schedule(event, timer->time);
    }
}

void TimerEventTrigger::scheduleAction(float time, const ActionData& action) {
    if (std::isnan(time)) {
        logger_.log(2, "Delayed action " + std::to_string(action.actionId) + " has no valid time");
        return;
    }
    actions_[time].push_back(&action);
}

std::size_t TimerEventTrigger::scheduledActionCount() const {
    std::size_t count = 0;
    for (const auto& [time, list] : actions_) count += list.size();
    return count;
}

void TimerEventTrigger::fireDueEvents() {
    std::vector<const MapEventData*> kept;
    auto reschedule = [&] {
        for (const MapEventData* event : kept) {
            if (const auto* timer = dynamic_cast<const TimerTriggerData*>(event->trigger.get())) {
                schedule(*event, timer->time);
            }
        }
    };
    // Entries are taken one event at a time, so that a firing that throws
    // leaves the schedule holding exactly the events not yet fired (the one
    // that threw is dropped; its firing was not booked).
    const float now = clock_;
    try {
        while (!events_.empty() && events_.begin()->first < now) {
            std::vector<const MapEventData*>& due = events_.begin()->second;
            while (!due.empty()) {
                const MapEventData* event = due.front();
                due.erase(due.begin());
                scheduledEvents_.erase(event);
                runner_.fire(*event);
                if (runner_.registry.remainingFirings(event->eventId) != 0) kept.push_back(event);
            }
            events_.erase(events_.begin());
        }
    } catch (...) {
        reschedule();
        throw;
    }
    reschedule();
}

void TimerEventTrigger::runDueActions() {
    const float now = clock_;
    while (!actions_.empty() && actions_.begin()->first < now) {
        std::vector<const ActionData*>& due = actions_.begin()->second;
        while (!due.empty()) {
            const ActionData* action = due.front();
            due.erase(due.begin());
            std::unique_ptr<Convinience::Command> command = runner_.actionFactory.makeCommand(*action);
            if (command) runner_.commands.immediate.push_back(std::move(command));
            runner_.actionSink.onAction(*action);
        }
        actions_.erase(actions_.begin());
    }
}

}  // namespace Zarn
