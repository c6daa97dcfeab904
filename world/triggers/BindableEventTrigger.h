#pragma once

#include <unordered_map>
#include <vector>

#include "map/records/MapEventData.h"
#include "world/triggers/EffectEventTrigger.h"

namespace Corvel {
struct ClientCommandState;
}

namespace Zarn {

class ActionFactory;
class MapEventRegistry;

// Fires the map events tied to something that happened: an action that ran
// (trigger kinds 6 to 8, 10, 11, 13 to 16), an effect result (kills, kind 17;
// checkpoints, kinds 12 and 18; levers through the actions they ran) or an
// input result (a waited dialog closed, kind 9).
//
// A tied event fires whether or not it is enabled, and its own actions start
// no further tied events. An event leaves its list once the registry reports
// no remaining firings for it. The registry, the factory and the command state
// belong to the owner of the world and outlive the trigger; the event records
// belong to the game map. Used by the thread that owns the world.
class BindableEventTrigger : public ActionEventTrigger, public EffectEventTrigger, public InputEventTrigger {
public:
    using EventList = std::vector<const MapEventData*>;

    BindableEventTrigger(MapEventRegistry& registry, ActionFactory& actionFactory,
                         Corvel::ClientCommandState& commands)
        : registry_(registry), actionFactory_(actionFactory), commands_(commands) {}

    // Files the event by its trigger kind: 3 under kill results; 6 to 8, 10,
    // 11 and 13 to 18 under (kind, number); 9 under closed dialogs; 12 under
    // checkpoint results. A kind of 6 to 18 whose trigger is no
    // NumberTriggerData is not filed. Any other kind throws
    // Convinience::Error "no such event trigger".
    void addTrigger(const MapEventData& event);

    // Fires the events tied to the action kind and the action's number (a
    // NumberActionData; other action classes fire nothing).
    void onAction(const ActionData& action) override;
    // Nothing unless the result is applied. Kills fire the kind-17 events of
    // the trap's numbers; a newly reached checkpoint the kind-18 events of its
    // number; a lever reports the action list it just ran to onAction. Then
    // the events filed under the result kind fire (for checkpoint results
    // only those whose number is the result's).
    void onEffect(const EffectResult& result, InteractiveMapElement& element) override;
    // Nothing unless the result is applied: a closed dialog fires the kind-9
    // events whose number is the result's.
    void onInput(const InputResult& result) override;

    // Fires the whole list filed under (trigger kind, number), if any.
    void fireNumbered(u32 triggerKind, u32 number);

    // For inspection: the events filed under (kind, number), or null.
    const EventList* numberedEvents(u32 triggerKind, u32 number) const;
    const EventList* effectEvents(u32 resultKind) const;
    const EventList* inputEvents(u8 resultKind) const;

private:
    using NumberTable = std::unordered_map<u32, EventList>;

    // Queues the event's commands and books the firing; answers whether the
    // event is exhausted (then the caller drops it from its list).
    bool fireTiedEvent(const MapEventData& event);
    // Fires the entries of the list (those whose trigger number is `number`
    // when matchNumber is set), dropping exhausted ones.
    void fireList(EventList& list, bool matchNumber, u32 number);
    void fireEffectList(u32 resultKind, bool matchNumber, u32 number);

    MapEventRegistry& registry_;
    ActionFactory& actionFactory_;
    Corvel::ClientCommandState& commands_;
    // Trigger kind -> number -> events. Lookups only, never iterated.
    std::unordered_map<u32, NumberTable> actionTable_;
    // Effect-result kind -> events.
    std::unordered_map<u32, EventList> effectTable_;
    // Input-result kind -> events.
    std::unordered_map<u8, EventList> inputTable_;
};

}  // namespace Zarn
