#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "foundation/Command.h"
#include "foundation/Geometry.h"
#include "foundation/Logger.h"
#include "foundation/Types.h"

namespace Zarn {

class DialogPlayer;
class Kill;
class MapEventRegistry;
class NumberedElementGroup;
class SpawnPoints;
class SteerableUnitManager;
class TimerActionData;
class TimerEventTrigger;
class TrapDirectory;

// The commands that a map's scripted actions become (ActionFactoryImpl makes
// them). They act on one copy of the world directly and run on the thread that
// owns it: the main thread in the client game core, the server thread in the
// server. Every referenced object (trap registry, element table, unit manager,
// dialog player, event registry, timer trigger, spawn points, action data)
// belongs to that core or server, or to its loaded map, and outlives the
// commands.
//
// A trap number is looked up among the traps first, then among the trap
// groups; a missing trap is logged at WARN and changes nothing. A numbered
// element is looked up in the numbered-element table; a missing number throws
// Convinience::Error "No such element number", an element of another class
// "numbered element is of wrong type".

// Shared part of the commands on one trap.
class TrapCommand : public Convinience::Command {
public:
    TrapCommand(u32 trapNumber, TrapDirectory& traps) : trapNumber(trapNumber), traps(&traps) {}

    u32 trapNumber;
    // Owned by the core or server; outlives the command.
    TrapDirectory* traps;
    Convinience::Logger logger;
};

class EnableTrapCommand : public TrapCommand {
public:
    using TrapCommand::TrapCommand;
    void execute() override;
};

class DisableTrapCommand : public TrapCommand {
public:
    using TrapCommand::TrapCommand;
    void execute() override;
};

class HideTrapCommand : public TrapCommand {
public:
    using TrapCommand::TrapCommand;
    void execute() override;
};

class ShowTrapCommand : public TrapCommand {
public:
    using TrapCommand::TrapCommand;
    void execute() override;
};

// Shows a hidden trap, hides a shown one (the state's hidden byte decides).
class ToggleTrapVisibilityCommand : public TrapCommand {
public:
    using TrapCommand::TrapCommand;
    void execute() override;
};

class ToggleTrapEnableCommand : public TrapCommand {
public:
    using TrapCommand::TrapCommand;
    void execute() override;
};

// Enables (disables) the listed traps in list order; the first missing trap
// ends the command, later numbers are left alone.
class TrapsCommand : public Convinience::Command {
public:
    TrapsCommand(std::vector<u32> trapNumbers, TrapDirectory& traps)
        : trapNumbers(std::move(trapNumbers)), traps(&traps) {}

    std::vector<u32> trapNumbers;
    // Owned by the core or server.
    TrapDirectory* traps;
    Convinience::Logger logger;
};

class EnableTrapsCommand : public TrapsCommand {
public:
    using TrapsCommand::TrapsCommand;
    void execute() override;
};

class DisableTrapsCommand : public TrapsCommand {
public:
    using TrapsCommand::TrapsCommand;
    void execute() override;
};

// Puts the unit at the index (iteration order of the unit manager) on the
// point (map units), at rest. An index past the units is logged at WARN.
class MoveSteerableCommand : public Convinience::Command {
public:
    MoveSteerableCommand(u32 index, SteerableUnitManager& units, const GeometryLib::Point& point)
        : index(index), units(&units), point(point) {}
    void execute() override;

    u32 index;
    SteerableUnitManager* units;
    GeometryLib::Point point;
    Convinience::Logger logger;
};

// Records the point as the spawn point of the client whose unit is at the
// index; an index past the units does nothing.
class SetSpawnPointCommand : public Convinience::Command {
public:
    SetSpawnPointCommand(u32 index, SteerableUnitManager& units, SpawnPoints& spawnPoints,
                         const GeometryLib::Point& point)
        : index(index), units(&units), spawnPoints(&spawnPoints), point(point) {}
    void execute() override;

    u32 index;
    SteerableUnitManager* units;
    SpawnPoints* spawnPoints;
    GeometryLib::Point point;
};

class PlayDialogCommand : public Convinience::Command {
public:
    PlayDialogCommand(u32 dialogNumber, DialogPlayer& dialogs)
        : dialogNumber(dialogNumber), dialogs(&dialogs) {}
    void execute() override;

    u32 dialogNumber;
    DialogPlayer* dialogs;
    Convinience::Logger logger;
};

class StopDialogCommand : public Convinience::Command {
public:
    StopDialogCommand(u32 dialogNumber, DialogPlayer& dialogs)
        : dialogNumber(dialogNumber), dialogs(&dialogs) {}
    void execute() override;

    u32 dialogNumber;
    DialogPlayer* dialogs;
    Convinience::Logger logger;
};

// Plays the dialog and, when it plays, takes the may-move flag from every unit.
class PlayWaitedDialogCommand : public Convinience::Command {
public:
    PlayWaitedDialogCommand(u32 dialogNumber, DialogPlayer& dialogs, SteerableUnitManager& units)
        : dialogNumber(dialogNumber), dialogs(&dialogs), units(&units) {}
    void execute() override;

    u32 dialogNumber;
    DialogPlayer* dialogs;
    SteerableUnitManager* units;
    Convinience::Logger logger;
};

// Stops the dialog and gives every unit its may-move flag back.
class StopWaitedDialogCommand : public Convinience::Command {
public:
    StopWaitedDialogCommand(DialogPlayer& dialogs, SteerableUnitManager& units)
        : dialogs(&dialogs), units(&units) {}
    void execute() override;

    DialogPlayer* dialogs;
    SteerableUnitManager* units;
};

// The list is the action record's own (the dialog player tells sequences
// apart by list identity); the record belongs to the map and outlives the command.
class PlaySequencedDialogCommand : public Convinience::Command {
public:
    PlaySequencedDialogCommand(const std::vector<u32>& numbers, DialogPlayer& dialogs)
        : numbers(&numbers), dialogs(&dialogs) {}
    void execute() override;

    const std::vector<u32>* numbers;
    DialogPlayer* dialogs;
};

class PlayRandomDialogCommand : public Convinience::Command {
public:
    PlayRandomDialogCommand(const std::vector<u32>& numbers, DialogPlayer& dialogs)
        : numbers(&numbers), dialogs(&dialogs) {}
    void execute() override;

    const std::vector<u32>* numbers;
    DialogPlayer* dialogs;
};

// Shared part of the commands on one numbered element.
class NumberedElementCommand : public Convinience::Command {
public:
    NumberedElementCommand(u32 elementNumber, NumberedElementGroup& elements)
        : elementNumber(elementNumber), elements(&elements) {}

    u32 elementNumber;
    NumberedElementGroup* elements;
};

// Door value 1 closed, 0 open.
class DoorOpenCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

class DoorCloseCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

class ToggleDoorCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

// A lever whose value is not 0 gets value 0 and runs its effect's first
// command list; a lever already at 0 is left alone.
class TurnOnSwitchCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

// A lever at value 0 gets value 1 and runs its effect's second command list.
class TurnOffSwitchCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

// Turns one switch of a multi lever on (off); when that makes the lever
// active (all its switches as wanted) the effect's first list runs, when it
// stops being active the second list runs.
class MultiSwitchCommand : public NumberedElementCommand {
public:
    MultiSwitchCommand(u32 elementNumber, u32 leverIndex, NumberedElementGroup& elements)
        : NumberedElementCommand(elementNumber, elements), leverIndex(leverIndex) {}

    u32 leverIndex;
    Convinience::Logger logger;

protected:
    void run(bool turnOn);
};

class TurnOnMultiSwitchCommand : public MultiSwitchCommand {
public:
    using MultiSwitchCommand::MultiSwitchCommand;
    void execute() override { run(true); }
};

class TurnOffMultiSwitchCommand : public MultiSwitchCommand {
public:
    using MultiSwitchCommand::MultiSwitchCommand;
    void execute() override { run(false); }
};

class EnableNumberedElementCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

class DisableNumberedElementCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

class ShowNumberedElementCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

class HideNumberedElementCommand : public NumberedElementCommand {
public:
    using NumberedElementCommand::NumberedElementCommand;
    void execute() override;
};

class EnableEventCommand : public Convinience::Command {
public:
    EnableEventCommand(MapEventRegistry& events, std::vector<u32> eventNumbers)
        : events(&events), eventNumbers(std::move(eventNumbers)) {}
    void execute() override;

    MapEventRegistry* events;
    std::vector<u32> eventNumbers;
};

class DisableEventCommand : public Convinience::Command {
public:
    DisableEventCommand(MapEventRegistry& events, std::vector<u32> eventNumbers)
        : events(&events), eventNumbers(std::move(eventNumbers)) {}
    void execute() override;

    MapEventRegistry* events;
    std::vector<u32> eventNumbers;
};

// Files the record's nested action in the timer trigger at its clock plus the
// record's delay (seconds). The record belongs to the map.
class TimerActionCommand : public Convinience::Command {
public:
    TimerActionCommand(const TimerActionData& data, TimerEventTrigger& timer) : data(&data), timer(&timer) {}
    void execute() override;

    const TimerActionData* data;
    TimerEventTrigger* timer;
};

// A player leaves the level (state 17) unless it is dead or gone already
// (state not 0): the actor's unit, when a player set the exit off by
// stepping on it (none when that client has no unit any more), else the
// first unit (iteration order).
class ExitLevelCommand : public Convinience::Command {
public:
    explicit ExitLevelCommand(SteerableUnitManager& units, std::optional<u32> actor = std::nullopt)
        : units(&units), actor(actor) {}
    void execute() override;

    SteerableUnitManager* units;
    std::optional<u32> actor;
};

// Applies its kill to every unit (the time-attack keeper runs it when the time
// is up); the results are discarded.
class KillAllCommand : public Convinience::Command {
public:
    KillAllCommand(SteerableUnitManager& units, std::unique_ptr<Kill> kill);
    ~KillAllCommand() override;
    void execute() override;

    SteerableUnitManager* units;
    std::unique_ptr<Kill> kill;
};

}  // namespace Zarn
