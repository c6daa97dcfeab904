#include "world/triggers/BindableEventTrigger.h"

#include "foundation/CommandScheduler.h"
#include "foundation/Error.h"
#include "map/records/ActionIds.h"
#include "map/records/SwitchElement.h"
#include "map/records/TrapElement.h"
#include "world/effects/EffectResult.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/elements/InteractiveMapElementState.h"
#include "world/triggers/ActionFactory.h"
#include "world/triggers/InputResult.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/triggers/MapEventRunner.h"

namespace Zarn {

namespace {

// The trigger kind that an action of this kind sets off; 0 for none.
u32 triggerKindOfAction(u32 actionKind) {
    switch (actionKind) {
        case MapActionId::enableTrap:
            return TriggerKind::trapEnabled;
        case MapActionId::disableTrap:
            return TriggerKind::trapDisabled;
        case MapActionId::playDialog:
        case MapActionId::playWaitedDialog:
            return TriggerKind::dialogPlayed;
        case MapActionId::hideTrap:
            return TriggerKind::trapHidden;
        case MapActionId::showTrap:
            return TriggerKind::trapShown;
        case MapActionId::doorOpen:
            return TriggerKind::doorOpened;
        case MapActionId::doorClose:
            return TriggerKind::doorClosed;
        case MapActionId::turnOnSwitch:
            return TriggerKind::switchOn;
        case MapActionId::turnOffSwitch:
            return TriggerKind::switchOff;
        default:
            return 0;
    }
}

// Erases the table's entry under the key when it has become empty; declared
// before a firing, so that this happens also when the firing throws.
template <class Table>
class EraseIfEmpty {
public:
    EraseIfEmpty(Table& table, typename Table::key_type key) : table_(table), key_(key) {}
    ~EraseIfEmpty() {
        auto it = table_.find(key_);
        if (it != table_.end() && it->second.empty()) table_.erase(it);
    }
    EraseIfEmpty(const EraseIfEmpty&) = delete;
    EraseIfEmpty& operator=(const EraseIfEmpty&) = delete;

private:
    Table& table_;
    typename Table::key_type key_;
};

const NumberTriggerData* numberTrigger(const MapEventData& event) {
    return dynamic_cast<const NumberTriggerData*>(event.trigger.get());
}

}  // namespace

void BindableEventTrigger::addTrigger(const MapEventData& event) {
    const u32 kind = event.trigger ? event.trigger->triggerId : 0;
    switch (kind) {
        case TriggerKind::killEffect:
            effectTable_[EffectKind::kill].push_back(&event);
            return;
        case TriggerKind::trapEnabled:
        case TriggerKind::trapDisabled:
        case TriggerKind::dialogPlayed:
        case TriggerKind::doorOpened:
        case TriggerKind::doorClosed:
        case TriggerKind::switchOn:
        case TriggerKind::switchOff:
        case TriggerKind::trapHidden:
        case TriggerKind::trapShown:
        case TriggerKind::trapKill:
        case TriggerKind::checkpointReached:
            if (const NumberTriggerData* trigger = numberTrigger(event)) {
                actionTable_[kind][trigger->number].push_back(&event);
            }
            return;
        case TriggerKind::dialogClosed:
            if (numberTrigger(event)) inputTable_[InputResultKind::dialogClosed].push_back(&event);
            return;
        case TriggerKind::checkpointTouched:
            if (numberTrigger(event)) effectTable_[EffectKind::checkpoint].push_back(&event);
            return;
        default:
            throw Convinience::Error("no such event trigger");
    }
}

bool BindableEventTrigger::fireTiedEvent(const MapEventData& event) {
    std::vector<std::unique_ptr<Convinience::Command>> made =
        actionFactory_.makeCommands(actionPointers(event.actions));
    for (std::unique_ptr<Convinience::Command>& command : made) {
        if (command) commands_.immediate.push_back(std::move(command));
    }
    registry_.consumeFiring(event.eventId);
    return registry_.remainingFirings(event.eventId) == 0;
}

void BindableEventTrigger::fireList(EventList& list, bool matchNumber, u32 number) {
    // By index: an exhausted entry is erased and the next one takes its place.
    // A throw leaves the list holding exactly the entries not yet exhausted.
    for (std::size_t i = 0; i < list.size();) {
        const MapEventData& event = *list[i];
        if (matchNumber) {
            const NumberTriggerData* trigger = numberTrigger(event);
            if (!trigger || trigger->number != number) {
                ++i;
                continue;
            }
        }
        if (fireTiedEvent(event)) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void BindableEventTrigger::fireNumbered(u32 triggerKind, u32 number) {
    auto kindIt = actionTable_.find(triggerKind);
    if (kindIt == actionTable_.end()) return;
    NumberTable& numbers = kindIt->second;
    auto listIt = numbers.find(number);
    if (listIt == numbers.end()) return;
    // The list goes when emptied, then the kind when its last list went.
    const EraseIfEmpty kindGuard(actionTable_, triggerKind);
    const EraseIfEmpty listGuard(numbers, number);
    fireList(listIt->second, false, 0);
}

void BindableEventTrigger::fireEffectList(u32 resultKind, bool matchNumber, u32 number) {
    auto it = effectTable_.find(resultKind);
    if (it == effectTable_.end()) return;
    const EraseIfEmpty guard(effectTable_, resultKind);
    fireList(it->second, matchNumber, number);
}

void BindableEventTrigger::onAction(const ActionData& action) {
    const u32 triggerKind = triggerKindOfAction(action.actionId);
    if (triggerKind == 0) return;
    const auto* numbered = dynamic_cast<const NumberActionData*>(&action);
    if (!numbered) return;
    fireNumbered(triggerKind, numbered->number);
}

void BindableEventTrigger::onEffect(const EffectResult& result, InteractiveMapElement& element) {
    if (!result.applied) return;
    switch (result.kind) {
        case EffectKind::kill:
            if (const auto* trap = dynamic_cast<const Trap*>(&element); trap && trap->trapRecord) {
                const u32 second = trap->trapRecord->linkNumber;
                fireNumbered(TriggerKind::trapKill, trap->trapRecord->trapNumber);
                if (second != 0) fireNumbered(TriggerKind::trapKill, second);
            }
            break;
        case EffectKind::checkpoint:
            if (const auto* checkpoint = dynamic_cast<const CheckpointEffectResult*>(&result);
                checkpoint && checkpoint->newlyReached) {
                fireNumbered(TriggerKind::checkpointReached, checkpoint->number);
            }
            break;
        case EffectKind::lever:
        case 10:
            if (const auto* lever = dynamic_cast<const LeverEffectResult*>(&result); lever && lever->lever) {
                const auto* record = dynamic_cast<const SwitchElement*>(lever->lever->record);
                const auto* state = dynamic_cast<const OnOffIMEState*>(&lever->lever->getState());
                if (record && state) {
                    const ActionList& ran =
                        state->value == EOnOffState::on ? record->secondActions : record->firstActions;
                    for (const std::unique_ptr<ActionData>& action : ran) {
                        if (action) onAction(*action);
                    }
                }
            }
            break;
        default:
            break;
    }
    if (result.kind == EffectKind::checkpoint) {
        // Kind-12 events are filed under this key and match by number.
        if (const auto* numbered = dynamic_cast<const NumberEffectResult*>(&result)) {
            fireEffectList(result.kind, true, numbered->number);
        }
    } else {
        fireEffectList(result.kind, false, 0);
    }
}

void BindableEventTrigger::onInput(const InputResult& result) {
    if (!result.applied || result.kind != InputResultKind::dialogClosed) return;
    const auto* numbered = dynamic_cast<const NumberInputResult*>(&result);
    if (!numbered) return;
    auto it = inputTable_.find(result.kind);
    if (it == inputTable_.end()) return;
    const EraseIfEmpty guard(inputTable_, result.kind);
    fireList(it->second, true, numbered->number);
}

const BindableEventTrigger::EventList* BindableEventTrigger::numberedEvents(u32 triggerKind,
                                                                            u32 number) const {
    auto k = actionTable_.find(triggerKind);
    if (k == actionTable_.end()) return nullptr;
    auto l = k->second.find(number);
    return l == k->second.end() ? nullptr : &l->second;
}

const BindableEventTrigger::EventList* BindableEventTrigger::effectEvents(u32 resultKind) const {
    auto it = effectTable_.find(resultKind);
    return it == effectTable_.end() ? nullptr : &it->second;
}

const BindableEventTrigger::EventList* BindableEventTrigger::inputEvents(u8 resultKind) const {
    auto it = inputTable_.find(resultKind);
    return it == inputTable_.end() ? nullptr : &it->second;
}

}  // namespace Zarn
