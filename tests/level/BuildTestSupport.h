#pragma once

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/Command.h"
#include "foundation/CommandScheduler.h"
#include "level/GrandMapImporter.h"
#include "level/InteractiveElementStore.h"
#include "level/TrapFactory.h"
#include "level/WorldParts.h"
#include "map/import/GameMap.h"
#include "world/elements/Door.h"
#include "world/elements/ElementGroup.h"
#include "world/elements/MusicalNote.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SpawnPoints.h"
#include "world/steering/SteerableSimulator.h"
#include "world/traps/TrapGroup.h"
#include "world/triggers/ActionFactory.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/EventTriggerSet.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/units/MoneyTally.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnitManager.h"

namespace zarn_test {

// A command that runs a function and notes its name.
class HookCommand : public Convinience::Command {
public:
    HookCommand(std::function<void()> run) : run_(std::move(run)) {}
    void execute() override {
        if (run_) run_();
    }

private:
    std::function<void()> run_;
};

// The simulation's action factory in miniature: its commands act on the world
// directly. Knows enable/disable trap (0, 1), hide/show trap (8, 9), open and
// close door (10, 11), enable/disable event (19/21, 20/22) and
// enable/disable numbered element (24, 25); every command made notes
// "made <id>:<number>" and every command run "ran <id>:<number>".
class WorldActionFactory : public Zarn::ActionFactory {
public:
    std::vector<std::unique_ptr<Convinience::Command>> makeCommands(
        const std::vector<const Zarn::ActionData*>& actions) override {
        std::vector<std::unique_ptr<Convinience::Command>> out;
        for (const auto* a : actions) out.push_back(makeCommand(*a));
        return out;
    }
    std::unique_ptr<Convinience::Command> makeCommand(const Zarn::ActionData& action) override {
        const auto* numbered = dynamic_cast<const Zarn::NumberActionData*>(&action);
        const u32 id = action.actionId;
        const u32 n = numbered ? numbered->number : 0;
        const std::string tag = std::to_string(id) + ":" + std::to_string(n);
        log.push_back("made " + tag);
        return std::make_unique<HookCommand>([this, id, n, tag] {
            log.push_back("ran " + tag);
            run(id, n);
        });
    }

    void run(u32 id, u32 n) {
        switch (id) {
            case 0:
                if (auto* t = store->findTrap(n)) t->enable();
                return;
            case 1:
                if (auto* t = store->findTrap(n)) t->disable();
                return;
            case 8:
                if (auto* t = store->findTrap(n)) t->hide();
                return;
            case 9:
                if (auto* t = store->findTrap(n)) t->show();
                return;
            case 10:
                numbered->getTyped<Zarn::Door>(n).state.value = Zarn::EDoorState::open;
                return;
            case 11:
                numbered->getTyped<Zarn::Door>(n).state.value = Zarn::EDoorState::closed;
                return;
            case 19:
            case 21:
                registry->enableEvent(n);
                return;
            case 20:
            case 22:
                registry->disableEvent(n);
                return;
            case 24:
                numbered->get(n).enable();
                return;
            case 25:
                numbered->get(n).disable();
                return;
            default:
                return;
        }
    }

    // Set by the world that owns the factory; they outlive it.
    Zarn::InteractiveElementStore* store = nullptr;
    Zarn::NumberedElementGroup* numbered = nullptr;
    Zarn::MapEventRegistry* registry = nullptr;
    std::vector<std::string> log;
};

// One copy of a room's world, owned as a game core or server would own it,
// with the map importer over it. Declaration order is destruction order in
// reverse: the importer and factory go first, the spawned traps (store) before
// the traps, the elements before the props' units, the groups before the traps.
struct TestWorld {
    TestWorld() {
        actions.store = &store;
        actions.numbered = &numbered;
        actions.registry = &registry;
        simulator.timeStep = 0.03f;
    }

    Zarn::WorldParts parts() {
        return Zarn::WorldParts{map,       store,          trapFactory, traps,       groups,
                                elements,  numbered,       updater,     spawnPoints, registry,
                                triggers,  actions,        money,       units,       secondaryIndex,
                                simulator, secondaryUnits, dialogs,     allNotes};
    }

    void load(const std::vector<u8>& bytes) {
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        importer.import(in);
    }

    // A player unit for the client at a map point (units are kept by the simulator).
    Zarn::SteerableUnit& addPlayer(u32 clientId, GeometryLib::FPoint at) {
        units.addClient(clientId);
        Zarn::SteerableUnit& unit = units.getUnit(clientId);
        unit.body().position = at;
        simulator.addUnit(clientId, &unit);
        money.addRow(clientId);
        return unit;
    }

    // One server tick: steering, the store's traps, the updated elements, the
    // trigger set's updatables; then the commands the triggers queued.
    void step(float dt = 0.03f) {
        simulator.timeStep = dt;
        simulator.step();
        secondaryIndex.refresh();
        store.updateAll(dt);
        updater.update(dt);
        for (Convinience::Updatable* u : triggers.updatables()) u->update(dt);
        std::vector<std::unique_ptr<Convinience::Command>> queued = std::move(commands.immediate);
        commands.immediate.clear();
        for (auto& c : queued) c->execute();
    }
    void run(float seconds, float dt = 0.03f) {
        for (float t = 0.0f; t < seconds; t += dt) step(dt);
    }

    Zarn::GameMap map;
    Corvel::ClientCommandState commands;
    WorldActionFactory actions;
    Zarn::SteerableUnitManager units;
    Zarn::MoneyTally money;
    Zarn::SpawnPoints spawnPoints;
    Zarn::MapEventRegistry registry{map.mapEvents};
    Zarn::SecondaryUnitIndex secondaryIndex{map.grid};
    Zarn::SteerableSimulator simulator;
    Zarn::EventTriggerSet triggers{commands,       actions,       registry, units,
                                   secondaryIndex, map.mapEvents, map.grid};
    Zarn::DialogPlayer dialogs{map.dialogs, 1};
    Zarn::MusicalNoteSet allNotes;
    Zarn::TrapList traps;
    Zarn::TrapGroupList groups;
    Zarn::SecondaryUnitList secondaryUnits;
    Zarn::ElementList elements;
    Zarn::NumberedElementGroup numbered;
    Zarn::InteractiveElementUpdater updater;
    Zarn::InteractiveElementStore store;
    Zarn::TrapFactory trapFactory{
        map.grid, spawnPoints, triggers.positionElementTrigger(), &triggers.bindableTrigger(), store, traps};
    Zarn::GrandMapImporter importer{parts()};
};

// The number of filings of the element on the position-element trigger.
inline std::size_t filingsOf(Zarn::EventTriggerSet& triggers, const Zarn::InteractiveMapElement* element,
                             const std::vector<GeometryLib::Point>& cells) {
    std::size_t n = 0;
    for (const auto& cell : cells) {
        if (const auto* values = triggers.positionElementTrigger().cells().find(cell)) {
            for (const auto* v : *values) n += v == element ? 1 : 0;
        }
    }
    return n;
}

}  // namespace zarn_test
