#include "simulation/actions/ActionFactoryImpl.h"

#include "foundation/Error.h"
#include "map/records/ActionData.h"
#include "map/records/ActionIds.h"
#include "simulation/actions/MapActionCommands.h"

namespace Zarn {

namespace {

template <class Data>
const Data& dataAs(const ActionData& action, const char* message) {
    return Convinience::castOrThrow<const Data>(&action, message);
}

u32 numberOf(const ActionData& action, const char* message) {
    return dataAs<NumberActionData>(action, message).number;
}

}  // namespace

ActionFactoryImpl::ActionFactoryImpl(MapEventRegistry& events, TrapDirectory& traps,
                                     SteerableUnitManager& units, DialogPlayer& dialogs,
                                     NumberedElementGroup& elements, SpawnPoints& spawnPoints)
    : events_(events),
      traps_(traps),
      units_(units),
      dialogs_(dialogs),
      elements_(elements),
      spawnPoints_(spawnPoints) {}

std::vector<std::unique_ptr<Convinience::Command>> ActionFactoryImpl::makeCommands(
    const std::vector<const ActionData*>& actions) {
    std::vector<std::unique_ptr<Convinience::Command>> commands;
    commands.reserve(actions.size());
    for (const ActionData* action : actions) commands.push_back(makeCommand(*action));
    return commands;
}

std::vector<std::unique_ptr<Convinience::Command>> ActionFactoryImpl::makeCommandsFor(
    const std::vector<const ActionData*>& actions, u32 clientId) {
    struct Forget {
        std::optional<u32>& slot;
        ~Forget() { slot.reset(); }
    } forget{actor_ = clientId};
    return makeCommands(actions);
}

std::unique_ptr<Convinience::Command> ActionFactoryImpl::makeCommand(const ActionData& action) {
    struct Remember {
        const ActionData*& slot;
        ~Remember() { slot = nullptr; }
    } remember{current_ = &action};

    static constexpr const char* kTrap = "not trap number data";
    static constexpr const char* kMove = "not move data";
    static constexpr const char* kNumbers = "not numbers data";
    static constexpr const char* kDialog = "not dialog number data";

    switch (action.actionId) {
        case MapActionId::enableTrap:
            return std::make_unique<EnableTrapCommand>(numberOf(action, kTrap), traps_);
        case MapActionId::disableTrap:
            return std::make_unique<DisableTrapCommand>(numberOf(action, kTrap), traps_);
        case MapActionId::moveSteerable: {
            const auto& move = dataAs<MoveSteerableData>(action, kMove);
            return std::make_unique<MoveSteerableCommand>(move.steerableNumber, units_, move.target);
        }
        case MapActionId::playDialog:
            return std::make_unique<PlayDialogCommand>(numberOf(action, kDialog), dialogs_);
        case MapActionId::stopDialog:
            return std::make_unique<StopDialogCommand>(numberOf(action, kDialog), dialogs_);
        case MapActionId::playWaitedDialog:
            return std::make_unique<PlayWaitedDialogCommand>(numberOf(action, kDialog), dialogs_, units_);
        case MapActionId::stopWaitedDialog:
            return std::make_unique<StopWaitedDialogCommand>(dialogs_, units_);
        case MapActionId::hideTrap:
            return std::make_unique<HideTrapCommand>(numberOf(action, kTrap), traps_);
        case MapActionId::showTrap:
            return std::make_unique<ShowTrapCommand>(numberOf(action, kTrap), traps_);
        case MapActionId::doorOpen:
            return std::make_unique<DoorOpenCommand>(numberOf(action, kTrap), elements_);
        case MapActionId::doorClose:
            return std::make_unique<DoorCloseCommand>(numberOf(action, kTrap), elements_);
        case MapActionId::turnOnSwitch:
            return std::make_unique<TurnOnSwitchCommand>(numberOf(action, kNumbers), elements_);
        case MapActionId::turnOffSwitch:
            return std::make_unique<TurnOffSwitchCommand>(numberOf(action, kNumbers), elements_);
        case MapActionId::playSequencedDialog:
            return std::make_unique<PlaySequencedDialogCommand>(
                dataAs<NumbersActionData>(action, kNumbers).numbers, dialogs_);
        case MapActionId::playRandomDialog:
            return std::make_unique<PlayRandomDialogCommand>(
                dataAs<NumbersActionData>(action, kNumbers).numbers, dialogs_);
        case MapActionId::timerAction: {
            const auto& timerData = dataAs<TimerActionData>(action, "not timer action data");
            if (!timer_)
                throw Convinience::Error("no timereven trigger, revisit this dependency in the future");
            return std::make_unique<TimerActionCommand>(timerData, *timer_);
        }
        case MapActionId::turnOnMultiSwitch:
        case MapActionId::turnOffMultiSwitch: {
            const auto& two = dataAs<TwoNumbersActionData>(action, kNumbers);
            if (action.actionId == MapActionId::turnOnMultiSwitch)
                return std::make_unique<TurnOnMultiSwitchCommand>(two.firstNumber, two.secondNumber,
                                                                  elements_);
            return std::make_unique<TurnOffMultiSwitchCommand>(two.firstNumber, two.secondNumber, elements_);
        }
        case MapActionId::enableEvent:
            return std::make_unique<EnableEventCommand>(events_,
                                                        std::vector<u32>{numberOf(action, kNumbers)});
        case MapActionId::disableEvent:
            return std::make_unique<DisableEventCommand>(events_,
                                                         std::vector<u32>{numberOf(action, kNumbers)});
        case MapActionId::enableEvents:
            return std::make_unique<EnableEventCommand>(events_,
                                                        dataAs<NumbersActionData>(action, kNumbers).numbers);
        case MapActionId::disableEvents:
            return std::make_unique<DisableEventCommand>(events_,
                                                         dataAs<NumbersActionData>(action, kNumbers).numbers);
        case MapActionId::setSpawnPoint: {
            const auto& move = dataAs<MoveSteerableData>(action, kMove);
            return std::make_unique<SetSpawnPointCommand>(move.steerableNumber, units_, spawnPoints_,
                                                          move.target);
        }
        case MapActionId::enableNumberedElement:
            return std::make_unique<EnableNumberedElementCommand>(numberOf(action, kNumbers), elements_);
        case MapActionId::disableNumberedElement:
            return std::make_unique<DisableNumberedElementCommand>(numberOf(action, kNumbers), elements_);
        case MapActionId::showNumberedElement:
            return std::make_unique<ShowNumberedElementCommand>(numberOf(action, kNumbers), elements_);
        case MapActionId::hideNumberedElement:
            return std::make_unique<HideNumberedElementCommand>(numberOf(action, kNumbers), elements_);
        case MapActionId::toggleDoor:
            return std::make_unique<ToggleDoorCommand>(numberOf(action, kTrap), elements_);
        case MapActionId::toggleTrapVisibility:
            return std::make_unique<ToggleTrapVisibilityCommand>(numberOf(action, kTrap), traps_);
        case MapActionId::toggleTrapEnable:
            return std::make_unique<ToggleTrapEnableCommand>(numberOf(action, kTrap), traps_);
        case MapActionId::enableTraps:
            return std::make_unique<EnableTrapsCommand>(dataAs<NumbersActionData>(action, kNumbers).numbers,
                                                        traps_);
        case MapActionId::disableTraps:
            return std::make_unique<DisableTrapsCommand>(dataAs<NumbersActionData>(action, kNumbers).numbers,
                                                         traps_);
        case MapActionId::exitLevel:
            return std::make_unique<ExitLevelCommand>(units_, actor_);
        default:
            throw Convinience::Error("invalid commandID");
    }
}

}  // namespace Zarn
