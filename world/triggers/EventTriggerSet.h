#pragma once

#include <vector>

#include "foundation/Interfaces.h"
#include "world/triggers/BindableEventTrigger.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/triggers/MapEventRunner.h"
#include "world/triggers/PositionEventTrigger.h"
#include "world/triggers/PositionIMETrigger.h"
#include "world/triggers/PositionTriggerGroup.h"
#include "world/triggers/SecondarySteerableIMETrigger.h"
#include "world/triggers/TimerEventTrigger.h"

namespace Corvel {
struct ClientCommandState;
}

namespace Zarn {

class ActionFactory;
class CellGrid;
struct GameMap;
class SecondaryUnitIndex;
class SteerableUnitManager;

// Every trigger of one game: the bindable trigger, the position-event,
// position-element and moving-element triggers with the group that feeds
// them, and the timer trigger. Arming files each imported event with the
// trigger that serves its trigger kind and lists the updatables the owner
// runs once per tick, in order: the trigger group (contacts), then the timer.
//
// Owns its triggers. The registry, the action factory, the command state
// (the owner's own record of its command manager), the unit manager, the
// secondary-unit index, the event list and the grid belong to the game core
// or server that owns the set and must outlive it. Used by the thread that
// owns the world.
class EventTriggerSet {
public:
    EventTriggerSet(Corvel::ClientCommandState& commands, ActionFactory& actionFactory,
                    MapEventRegistry& registry, const SteerableUnitManager& units,
                    const SecondaryUnitIndex& secondaryUnits, const MapEventList& events,
                    const CellGrid& grid);
    // Over the imported map's events and grid.
    EventTriggerSet(Corvel::ClientCommandState& commands, ActionFactory& actionFactory,
                    MapEventRegistry& registry, const SteerableUnitManager& units,
                    const SecondaryUnitIndex& secondaryUnits, const GameMap& map);
    ~EventTriggerSet();
    EventTriggerSet(const EventTriggerSet&) = delete;
    EventTriggerSet& operator=(const EventTriggerSet&) = delete;

    // Files every imported event by its trigger kind, in file order: kind 1
    // with the timer at delay 0; 5 and 20 with the position-event trigger;
    // 6 to 18 and kinds above 20 with the bindable trigger (which throws
    // "no such event trigger" for the latter); 19 with the timer at its
    // delay; 0, 2, 3 and 4 nowhere. Only the record the registry holds for an
    // ID is filed (a later duplicate ID is not).
    void registerEventTriggers();
    // Registers the event triggers; then puts each position trigger that is
    // not empty now into the group (events, elements, moving elements), and
    // lists the group and the timer as updatables. Runs once, after the
    // registry is filled and the elements are filed; later calls do nothing.
    void arm();

    // Once armed: the group, then the timer.
    const std::vector<Convinience::Updatable*>& updatables() const { return updatables_; }

    BindableEventTrigger& bindableTrigger() { return bindable_; }
    const MapEventRunner& runner() const { return runner_; }
    PositionTriggerGroup& triggerGroup() { return group_; }
    PositionEventTrigger& positionEventTrigger() { return positionEvents_; }
    PositionIMETrigger& positionElementTrigger() { return positionElements_; }
    SecondarySteerableIMETrigger& movingElementTrigger() { return movingElements_; }
    TimerEventTrigger& timerTrigger() { return timer_; }

private:
    MapEventRegistry& registry_;
    const MapEventList& events_;
    BindableEventTrigger bindable_;
    MapEventRunner runner_;
    PositionTriggerGroup group_;
    PositionEventTrigger positionEvents_;
    PositionIMETrigger positionElements_;
    SecondarySteerableIMETrigger movingElements_;
    TimerEventTrigger timer_;
    std::vector<Convinience::Updatable*> updatables_;
    bool armed_ = false;
};

}  // namespace Zarn
