#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "world/triggers/ActionFactory.h"

namespace Zarn {

class DialogPlayer;
class MapEventRegistry;
class NumberedElementGroup;
class SpawnPoints;
class SteerableUnitManager;
class TimerEventTrigger;
class TrapDirectory;

// Makes the command of a map action by its action ID:
//
// | ID | command | data |
// | 0, 1 | EnableTrap, DisableTrap | number |
// | 2 | MoveSteerable | move |
// | 4, 5, 6 | PlayDialog, StopDialog, PlayWaitedDialog | number |
// | 7 | StopWaitedDialog | any |
// | 8, 9 | HideTrap, ShowTrap | number |
// | 10, 11, 28 | DoorOpen, DoorClose, ToggleDoor | number |
// | 12, 13 | TurnOnSwitch, TurnOffSwitch | number |
// | 14, 15 | PlaySequencedDialog, PlayRandomDialog | numbers |
// | 16 | TimerAction | timer |
// | 17, 18 | TurnOnMultiSwitch, TurnOffMultiSwitch | two numbers (lever, switch) |
// | 19, 21 / 20, 22 | EnableEvent / DisableEvent | number / numbers |
// | 23 | SetSpawnPoint | move |
// | 24 to 27 | Enable, Disable, Show, HideNumberedElement | number |
// | 29, 30 | ToggleTrapVisibility, ToggleTrapEnable | number |
// | 31, 32 | EnableTraps, DisableTraps | numbers |
// | 37 | ExitLevel (the actor's unit, when there is one) | any |
//
// Throws Convinience::Error: "not trap number data", "not move data", "not
// numbers data", "not timer action data", "not dialog number data" when the
// data is of the wrong class; "no timereven trigger, revisit this dependency
// in the future" for a timer action before the timer trigger is set; "invalid
// commandID" for any other ID.
//
// Everything it refers to belongs to the client game core or the server that
// owns it and outlives it and its commands; the action records belong to the
// loaded map and must outlive the commands made from them. Used on the thread
// that owns the world.
class ActionFactoryImpl : public ActionFactory {
public:
    ActionFactoryImpl(MapEventRegistry& events, TrapDirectory& traps, SteerableUnitManager& units,
                      DialogPlayer& dialogs, NumberedElementGroup& elements, SpawnPoints& spawnPoints);

    std::vector<std::unique_ptr<Convinience::Command>> makeCommands(
        const std::vector<const ActionData*>& actions) override;
    std::unique_ptr<Convinience::Command> makeCommand(const ActionData& action) override;
    std::vector<std::unique_ptr<Convinience::Command>> makeCommandsFor(
        const std::vector<const ActionData*>& actions, u32 clientId) override;

    // The map's timer trigger once it exists (null clears it).
    void setTimerTrigger(TimerEventTrigger* timer) { timer_ = timer; }

private:
    MapEventRegistry& events_;
    TrapDirectory& traps_;
    SteerableUnitManager& units_;
    DialogPlayer& dialogs_;
    NumberedElementGroup& elements_;
    SpawnPoints& spawnPoints_;
    // Owned by the world's event trigger set; null until set.
    TimerEventTrigger* timer_ = nullptr;
    // The action being turned into a command, while makeCommand runs.
    const ActionData* current_ = nullptr;
    // The player who set the actions off, while makeCommandsFor runs.
    std::optional<u32> actor_;
};

}  // namespace Zarn
