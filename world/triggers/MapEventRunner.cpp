#include "world/triggers/MapEventRunner.h"

#include "foundation/CommandScheduler.h"
#include "world/triggers/ActionFactory.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/triggers/MapEventRegistry.h"

namespace Zarn {

std::vector<const ActionData*> actionPointers(const ActionList& actions) {
    std::vector<const ActionData*> pointers;
    pointers.reserve(actions.size());
    for (const std::unique_ptr<ActionData>& action : actions) {
        if (action) pointers.push_back(action.get());
    }
    return pointers;
}

bool MapEventRunner::fire(const MapEventData& event, std::optional<u32> actor) const {
    const u32 id = event.eventId;
    if (!registry.isEnabled(id)) return false;
    std::vector<std::unique_ptr<Convinience::Command>> made =
        actor ? actionFactory.makeCommandsFor(actionPointers(event.actions), *actor)
              : actionFactory.makeCommands(actionPointers(event.actions));
    for (std::unique_ptr<Convinience::Command>& command : made) {
        if (command) commands.immediate.push_back(std::move(command));
    }
    for (const std::unique_ptr<ActionData>& action : event.actions) {
        if (action) actionSink.onAction(*action);
    }
    registry.consumeFiring(id);
    return true;
}

}  // namespace Zarn
