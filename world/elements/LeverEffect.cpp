#include "world/elements/LeverEffect.h"

#include "world/elements/Lever.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

void runActions(const ActionCommands& actions) {
    for (const auto& action : actions) action->execute();
}

std::unique_ptr<EffectResult> LeverEffect::apply(SteerableUnit* unit) {
    const u32 handle = unit ? unit->handle() : 0;
    if (!lever || (unit && unit->state != UnitState::alive))
        return makeUnappliedLeverEffectResult(handle, lever);
    if (lever->isOn()) {
        lever->state.value = EOnOffState::off;
        runActions(offActions);
    } else {
        lever->state.value = EOnOffState::on;
        runActions(onActions);
    }
    return makeLeverEffectResult(handle, lever);
}

std::unique_ptr<EffectResult> MultiLeverEffect::apply(SteerableUnit* unit) {
    MultiLever& lever = elements->getTyped<MultiLever>(number);
    const u32 handle = unit ? unit->handle() : 0;
    bool allOn = false;
    if (!lever.isOn()) {
        allOn = lever.areAllSwitchesOn();
        lever.state.value = EOnOffState::on;
        if (allOn) runActions(onActions);
    } else {
        lever.state.value = EOnOffState::off;
        allOn = lever.areAllSwitchesOn();
        if (allOn) runActions(offActions);
    }
    if (allOn) return makeLeverEffectResult(handle, &lever);
    return makeUnappliedLeverEffectResult(handle, &lever);
}

}  // namespace Zarn
