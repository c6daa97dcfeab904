#include "simulation/actions/MapActionCommands.h"

#include <string>

#include "map/records/ActionData.h"
#include "world/effects/Kill.h"
#include "world/elements/Door.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/elements/Lever.h"
#include "world/elements/LeverEffect.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SpawnPoints.h"
#include "world/traps/TrapDirectory.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/triggers/TimerEventTrigger.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

namespace {

constexpr u32 kWarn = 2;

InteractiveMapElement* findTrapOrGroup(TrapDirectory& traps, u32 number) {
    if (Trap* trap = traps.findTrap(number)) return trap;
    return traps.findTrapGroup(number);
}

std::string missingTrap(u32 number) {
    return "Trap " + std::to_string(number) + " does not exist";
}

// The unit at the index of the manager's iteration order, with its client ID.
SteerableUnit* unitAt(SteerableUnitManager& units, u32 index, u32* clientId) {
    if (index >= units.size()) return nullptr;
    SteerableUnit* found = nullptr;
    u32 position = 0;
    units.forEachUnit([&](u32 id, SteerableUnit& unit) {
        if (position++ == index) {
            found = &unit;
            if (clientId) *clientId = id;
        }
    });
    return found;
}

void setInputEnabled(SteerableUnitManager& units, u8 enabled) {
    units.forEachUnit([enabled](u32, SteerableUnit& unit) { unit.inputEnabled = enabled; });
}

}  // namespace

void EnableTrapCommand::execute() {
    if (auto* trap = findTrapOrGroup(*traps, trapNumber))
        trap->enable();
    else
        logger.log(kWarn, "Attempting to enable trap: " + missingTrap(trapNumber));
}

void DisableTrapCommand::execute() {
    if (auto* trap = findTrapOrGroup(*traps, trapNumber))
        trap->disable();
    else
        logger.log(kWarn, "Attempting to disable trap " + std::to_string(trapNumber) + "that doesn't exist");
}

void HideTrapCommand::execute() {
    if (auto* trap = findTrapOrGroup(*traps, trapNumber))
        trap->hide();
    else
        logger.log(kWarn, "Attempting to hide trap " + std::to_string(trapNumber) + "that doesn't exist");
}

void ShowTrapCommand::execute() {
    if (auto* trap = findTrapOrGroup(*traps, trapNumber))
        trap->show();
    else
        logger.log(kWarn, "Attempting to show trap: " + missingTrap(trapNumber));
}

void ToggleTrapVisibilityCommand::execute() {
    auto* trap = findTrapOrGroup(*traps, trapNumber);
    if (!trap) {
        logger.log(kWarn, "Attempting to toggle trap visibility" + std::to_string(trapNumber) +
                              "that doesn't exist");
        return;
    }
    if (trap->getState().hidden)
        trap->show();
    else
        trap->hide();
}

void ToggleTrapEnableCommand::execute() {
    auto* trap = findTrapOrGroup(*traps, trapNumber);
    if (!trap) {
        logger.log(kWarn, "Attempting to toggle trap enable: " + missingTrap(trapNumber));
        return;
    }
    if (trap->isEnabled())
        trap->disable();
    else
        trap->enable();
}

void EnableTrapsCommand::execute() {
    for (u32 number : trapNumbers) {
        auto* trap = findTrapOrGroup(*traps, number);
        if (!trap) {
            logger.log(kWarn, "Attempting to enable traps: " + missingTrap(number));
            return;
        }
        trap->enable();
    }
}

void DisableTrapsCommand::execute() {
    for (u32 number : trapNumbers) {
        auto* trap = findTrapOrGroup(*traps, number);
        if (!trap) {
            logger.log(kWarn, "Attempting to disable trap " + std::to_string(number) + "that doesn't exist");
            return;
        }
        trap->disable();
    }
}

void MoveSteerableCommand::execute() {
    SteerableUnit* unit = unitAt(*units, index, nullptr);
    if (!unit) {
        logger.log(kWarn, "Attempting to move non existant steerable index " + std::to_string(index));
        return;
    }
    unit->motion.reset();
    unit->body().velocity = GeometryLib::FPoint{0.0f, 0.0f};
    unit->body().position = GeometryLib::FPoint{static_cast<float>(point.x), static_cast<float>(point.y)};
}

void SetSpawnPointCommand::execute() {
    u32 clientId = 0;
    if (unitAt(*units, index, &clientId)) spawnPoints->setSpawnPoint(clientId, point);
}

void PlayDialogCommand::execute() {
    dialogs->play(dialogNumber);
    if (dialogs->getCurrent() != dialogNumber)
        logger.log(kWarn, "Dialog number " + std::to_string(dialogNumber) + " could not be played");
}

void StopDialogCommand::execute() {
    dialogs->stop();
    if (dialogs->getCurrent() != dialogNumber)
        logger.log(kWarn, "Dialog number " + std::to_string(dialogNumber) + " could not be stopped");
}

void PlayWaitedDialogCommand::execute() {
    dialogs->play(dialogNumber);
    if (dialogs->getCurrent() == dialogNumber)
        setInputEnabled(*units, 0);
    else
        logger.log(kWarn, "Dialog number " + std::to_string(dialogNumber) + " could not be played");
}

void StopWaitedDialogCommand::execute() {
    dialogs->stop();
    setInputEnabled(*units, 1);
}

void PlaySequencedDialogCommand::execute() {
    dialogs->playSequenced(*numbers);
}

void PlayRandomDialogCommand::execute() {
    dialogs->playRandom(*numbers);
}

void DoorOpenCommand::execute() {
    elements->getTyped<Door>(elementNumber).state.value = EDoorState::open;
}

void DoorCloseCommand::execute() {
    elements->getTyped<Door>(elementNumber).state.value = EDoorState::closed;
}

void ToggleDoorCommand::execute() {
    Door& door = elements->getTyped<Door>(elementNumber);
    door.state.value = door.isOpen() ? EDoorState::closed : EDoorState::open;
}

void TurnOnSwitchCommand::execute() {
    Lever& lever = elements->getTyped<Lever>(elementNumber);
    if (lever.state.value == EOnOffState::off) return;
    lever.state.value = EOnOffState::off;
    if (auto* effect = dynamic_cast<LeverEffect*>(lever.effect.get())) runActions(effect->offActions);
}

void TurnOffSwitchCommand::execute() {
    Lever& lever = elements->getTyped<Lever>(elementNumber);
    if (lever.state.value != EOnOffState::off) return;
    lever.state.value = EOnOffState::on;
    if (auto* effect = dynamic_cast<LeverEffect*>(lever.effect.get())) runActions(effect->onActions);
}

void MultiSwitchCommand::run(bool turnOn) {
    MultiLever& lever = elements->getTyped<MultiLever>(elementNumber);
    const bool wasActive = lever.areAllSwitchesOn();
    if (turnOn)
        lever.turnOnSwitch(leverIndex);
    else
        lever.turnOffSwitch(leverIndex);
    const bool isActive = lever.areAllSwitchesOn();
    auto* effect = dynamic_cast<MultiLeverEffect*>(lever.effect.get());
    if (!effect) {
        logger.log(kWarn, turnOn ? "multi switch ON cannot be applied when effect is not multilevereffect"
                                 : "multi switch OFF cannot be applied when effect is not multilevereffect");
        return;
    }
    if (isActive == wasActive) return;
    runActions(isActive ? effect->offActions : effect->onActions);
}

void EnableNumberedElementCommand::execute() {
    elements->get(elementNumber).enable();
}

void DisableNumberedElementCommand::execute() {
    elements->get(elementNumber).disable();
}

void ShowNumberedElementCommand::execute() {
    elements->get(elementNumber).show();
}

void HideNumberedElementCommand::execute() {
    elements->get(elementNumber).hide();
}

void EnableEventCommand::execute() {
    for (u32 number : eventNumbers) events->enableEvent(number);
}

void DisableEventCommand::execute() {
    for (u32 number : eventNumbers) events->disableEvent(number);
}

void TimerActionCommand::execute() {
    if (data->action) timer->scheduleAction(timer->clock() + data->delay, *data->action);
}

void ExitLevelCommand::execute() {
    SteerableUnit* leaving = actor ? units->findUnit(*actor) : unitAt(*units, 0, nullptr);
    if (leaving && leaving->state == UnitState::alive) leaving->state = UnitState::carried;
}

KillAllCommand::KillAllCommand(SteerableUnitManager& units, std::unique_ptr<Kill> kill)
    : units(&units), kill(std::move(kill)) {}

KillAllCommand::~KillAllCommand() = default;

void KillAllCommand::execute() {
    units->forEachUnit([this](u32, SteerableUnit& unit) { kill->apply(&unit); });
}

}  // namespace Zarn
