#include "world/triggers/EventTriggerSet.h"

#include "map/import/GameMap.h"

namespace Zarn {

EventTriggerSet::EventTriggerSet(Corvel::ClientCommandState& commands, ActionFactory& actionFactory,
                                 MapEventRegistry& registry, const SteerableUnitManager& units,
                                 const SecondaryUnitIndex& secondaryUnits, const MapEventList& events,
                                 const CellGrid& grid)
    : registry_(registry),
      events_(events),
      bindable_(registry, actionFactory, commands),
      runner_{registry, actionFactory, bindable_, commands},
      group_(grid, units),
      positionEvents_(runner_),
      positionElements_(bindable_),
      movingElements_(secondaryUnits, bindable_),
      timer_(runner_) {
    registry_.addEnableObserver(timer_);
}

EventTriggerSet::EventTriggerSet(Corvel::ClientCommandState& commands, ActionFactory& actionFactory,
                                 MapEventRegistry& registry, const SteerableUnitManager& units,
                                 const SecondaryUnitIndex& secondaryUnits, const GameMap& map)
    : EventTriggerSet(commands, actionFactory, registry, units, secondaryUnits, map.mapEvents, map.grid) {}

EventTriggerSet::~EventTriggerSet() {
    registry_.removeObserver(timer_);
}

void EventTriggerSet::registerEventTriggers() {
    for (const std::unique_ptr<MapEventData>& record : events_) {
        if (!record || !record->trigger) continue;
        const MapEventData& event = *record;
        if (registry_.find(event.eventId) != &event) continue;
        const u32 kind = event.trigger->triggerId;
        if (kind == TriggerKind::start) {
            timer_.schedule(event, 0.0f);
        } else if (kind == TriggerKind::position) {
            positionEvents_.addPositionTrigger(event);
        } else if (kind == TriggerKind::area) {
            positionEvents_.addAreaTrigger(event);
        } else if (kind == TriggerKind::timer) {
            if (const auto* trigger = dynamic_cast<const TimerTriggerData*>(event.trigger.get())) {
                timer_.schedule(event, trigger->time);
            }
        } else if (kind >= TriggerKind::trapEnabled) {
            bindable_.addTrigger(event);
        }
    }
}

void EventTriggerSet::arm() {
    if (armed_) return;
    armed_ = true;
    registerEventTriggers();
    if (!positionEvents_.isEmpty()) group_.addTrigger(positionEvents_);
    if (!positionElements_.isEmpty()) group_.addTrigger(positionElements_);
    if (!movingElements_.isEmpty()) group_.addTrigger(movingElements_);
    updatables_.push_back(&group_);
    updatables_.push_back(&timer_);
}

}  // namespace Zarn
