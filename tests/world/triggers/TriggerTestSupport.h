#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CommandScheduler.h"
#include "foundation/Error.h"
#include "map/records/MapEventData.h"
#include "map/records/SwitchElement.h"
#include "map/records/TrapElement.h"
#include "world/effects/Effect.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/triggers/ActionFactory.h"
#include "world/units/SteerableUnit.h"

namespace Zarn::test {

// What the fake factory's commands did, in order: "made <id>:<n>" when a
// command was made, "ran <id>:<n>" when it executed (n: the action's number,
// or 0 for actions without one).
using CommandLog = std::vector<std::string>;

inline u32 numberOf(const ActionData& action) {
    if (const auto* n = dynamic_cast<const NumberActionData*>(&action)) return n->number;
    return 0;
}

inline std::string tag(const ActionData& action) {
    return std::to_string(action.actionId) + ":" + std::to_string(numberOf(action));
}

class LambdaCommand : public Convinience::Command {
public:
    explicit LambdaCommand(std::function<void()> fn) : fn_(std::move(fn)) {}
    void execute() override { fn_(); }

private:
    std::function<void()> fn_;
};

// Stands in for the simulation's factory: each command logs itself and runs
// the hook registered for its action kind (if any), given the action.
class FakeActionFactory : public ActionFactory {
public:
    explicit FakeActionFactory(CommandLog& log) : log_(log) {}

    std::vector<std::unique_ptr<Convinience::Command>> makeCommands(
        const std::vector<const ActionData*>& actions) override {
        std::vector<std::unique_ptr<Convinience::Command>> commands;
        for (const ActionData* action : actions) commands.push_back(makeCommand(*action));
        return commands;
    }

    // Logs "for <client>" before the commands it makes.
    std::vector<std::unique_ptr<Convinience::Command>> makeCommandsFor(
        const std::vector<const ActionData*>& actions, u32 clientId) override {
        log_.push_back("for " + std::to_string(clientId));
        return makeCommands(actions);
    }

    std::unique_ptr<Convinience::Command> makeCommand(const ActionData& action) override {
        if (action.actionId == 3 || action.actionId > 38) throw Convinience::Error("invalid commandID");
        log_.push_back("made " + tag(action));
        const ActionData* a = &action;
        return std::make_unique<LambdaCommand>([this, a] {
            log_.push_back("ran " + tag(*a));
            auto hook = hooks.find(a->actionId);
            if (hook != hooks.end()) hook->second(*a);
        });
    }

    std::map<u32, std::function<void(const ActionData&)>> hooks;

private:
    CommandLog& log_;
};

// An effect that reports what the test sets up and counts its applications.
class ScriptedEffect : public Effect {
public:
    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override {
        ++applied;
        if (onApply) onApply(unit);
        if (makeResult) return makeResult(unit);
        return makeEffectResult(EffectKind::nothing, unit ? unit->handle() : 0);
    }

    int applied = 0;
    std::function<void(SteerableUnit*)> onApply;
    std::function<std::unique_ptr<EffectResult>(SteerableUnit*)> makeResult;
};

// A plain element: touches while enabled and `touching` is set.
class TestElement : public InteractiveMapElement {
public:
    explicit TestElement(const MapElement& record, bool enterOnly = false)
        : InteractiveMapElement(record, std::make_unique<ScriptedEffect>()), enterOnly(enterOnly) {}

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point&, SteerableUnit*) override { return enabled && touching; }
    bool reactsOnEnterOnly() override { return enterOnly; }
    void reset() override {}
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState&) override {}

    ScriptedEffect& scripted() { return static_cast<ScriptedEffect&>(*effect); }

    u8 enabled = 1;
    bool touching = true;
    bool enterOnly;
    InteractiveMapElementState state;
};

// A trap that touches while enabled; its effect kills (kind 1) when `deadly`.
class TestTrap : public Trap {
public:
    explicit TestTrap(const TrapElement& record) : Trap(record, std::make_unique<ScriptedEffect>()) {
        scripted().makeResult = [this](SteerableUnit* unit) {
            const u32 handle = unit ? unit->handle() : 0;
            return deadly ? makeEffectResult(EffectKind::kill, handle)
                          : makeUnappliedEffectResult(EffectKind::kill, handle);
        };
    }

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point&, SteerableUnit*) override { return enabled != 0; }
    void reset() override {}
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState&) override {}
    void update(float) override {}

    ScriptedEffect& scripted() { return static_cast<ScriptedEffect&>(*effect); }

    u8 enabled = 1;
    bool deadly = true;
    InteractiveMapElementState state;
};

// A lever as the triggers see it: its record's two action lists and an on/off
// state that every touch flips (its effect reports a lever result).
class TestLever : public InteractiveMapElement {
public:
    explicit TestLever(const SwitchElement& record)
        : InteractiveMapElement(record, std::make_unique<ScriptedEffect>()) {
        state.value = record.startOff ? EOnOffState::off : EOnOffState::on;
        scripted().makeResult = [this](SteerableUnit* unit) {
            state.value = state.value == EOnOffState::on ? EOnOffState::off : EOnOffState::on;
            return makeLeverEffectResult(unit ? unit->handle() : 0, this);
        };
    }

    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return true; }
    bool touches(const GeometryLib::Point&, SteerableUnit*) override { return true; }
    bool reactsOnEnterOnly() override { return true; }
    void reset() override { state.value = EOnOffState::on; }
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState&) override {}

    ScriptedEffect& scripted() { return static_cast<ScriptedEffect&>(*effect); }

    OnOffIMEState state;
};

inline std::unique_ptr<MapEventData> makeEvent(u32 id, std::unique_ptr<TriggerData> trigger,
                                               std::vector<std::unique_ptr<ActionData>> actions = {},
                                               u8 enabled = 1) {
    auto event = std::make_unique<MapEventData>();
    event->eventId = id;
    event->trigger = std::move(trigger);
    for (auto& a : actions) event->actions.push_back(std::move(a));
    event->enabled = enabled;
    return event;
}

inline std::unique_ptr<TriggerData> plainTrigger(u32 kind, u32 count) {
    return std::make_unique<TriggerData>(kind, count);
}

inline std::unique_ptr<TriggerData> numberTrigger(u32 kind, u32 count, u32 number) {
    auto t = std::make_unique<NumberTriggerData>();
    t->triggerId = kind;
    t->count = count;
    t->number = number;
    return t;
}

inline std::unique_ptr<TriggerData> timerTrigger(u32 count, float time) {
    auto t = std::make_unique<TimerTriggerData>();
    t->triggerId = 19;
    t->count = count;
    t->time = time;
    return t;
}

inline std::unique_ptr<TriggerData> positionTrigger(u32 count, GeometryLib::Point cell) {
    auto t = std::make_unique<PositionTriggerData>();
    t->triggerId = 5;
    t->count = count;
    t->cell = cell;
    return t;
}

inline std::unique_ptr<TriggerData> areaTrigger(u32 count, std::initializer_list<GeometryLib::Point> cells) {
    auto t = std::make_unique<AreaTriggerData>();
    t->triggerId = 20;
    t->count = count;
    t->cells = PointSet(cells);
    return t;
}

inline std::unique_ptr<ActionData> numberAction(u32 kind, u32 number) {
    return std::make_unique<NumberActionData>(kind, number);
}

inline std::vector<std::unique_ptr<ActionData>> actions(std::unique_ptr<ActionData> a) {
    std::vector<std::unique_ptr<ActionData>> list;
    list.push_back(std::move(a));
    return list;
}

inline std::vector<std::unique_ptr<ActionData>> actions(std::unique_ptr<ActionData> a,
                                                        std::unique_ptr<ActionData> b) {
    std::vector<std::unique_ptr<ActionData>> list;
    list.push_back(std::move(a));
    list.push_back(std::move(b));
    return list;
}

// Runs the queued immediate commands, as the command executor does each tick.
inline void runImmediate(Corvel::ClientCommandState& commands) {
    Corvel::CommandScheduler::executeImmediate(commands);
    Corvel::CommandScheduler::trimHistoryVector(commands);
}

}  // namespace Zarn::test
