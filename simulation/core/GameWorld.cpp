#include "simulation/core/GameWorld.h"

#include <memory>
#include <random>

#include "world/traps/SpawningTrap.h"

namespace Zarn {

GameWorld::GameWorld() {
    actions.setTimerTrigger(&triggers.timerTrigger());
    simulator.timeStep = tickDelta_;
    importer = std::make_unique<GrandMapImporter>(parts());
}

GameWorld::~GameWorld() {
    importer.reset();
    store.clearSpawnedTraps();
}

WorldParts GameWorld::parts() {
    return WorldParts{map,       store,          trapFactory, traps,       groups,
                      elements,  numbered,       updater,     spawnPoints, registry,
                      triggers,  actions,        money,       units,       secondaryIndex,
                      simulator, secondaryUnits, dialogs,     allNotes};
}

void GameWorld::loadMap(std::istream& stream) {
    importer->import(stream);
    const GeometryLib::Point& start = map.header.spawnPoint;
    units.defaultPosition = GeometryLib::FPoint{static_cast<float>(start.x), static_cast<float>(start.y)};
    units.forEachUnit([this](u32, SteerableUnit& unit) { unit.body().position = units.defaultPosition; });
    seedSpawners();
}

SteerableUnit& GameWorld::addPlayer(u32 clientId) {
    units.addClient(clientId);
    SteerableUnit& unit = units.getUnit(clientId);
    simulator.addUnit(clientId, &unit);
    money.addRow(clientId);
    return unit;
}

void GameWorld::removePlayer(u32 clientId) {
    simulator.removeUnit(clientId);
    units.removeClient(clientId);
}

void GameWorld::setTickDelta(float seconds) {
    tickDelta_ = seconds;
    simulator.timeStep = seconds;
}

void GameWorld::setSpawnSeed(u32 seed) {
    if (seed == spawnSeed_) return;
    spawnSeed_ = seed;
    seedSpawners();
}

void GameWorld::seedSpawners() {
    for (Trap* trap : store.traps()) {
        auto* spawner = dynamic_cast<BaseSpawningTrap*>(trap);
        if (spawner == nullptr) continue;
        if (spawnSeed_ == 0) {
            spawner->seedSource = nullptr;
            continue;
        }
        std::seed_seq sequence{spawnSeed_, spawner->trapRecord->trapNumber};
        auto engine = std::make_shared<std::mt19937>(sequence);
        spawner->seedSource = [engine] { return static_cast<u32>((*engine)()); };
    }
}

void GameWorld::stepOnce() {
    simulator.step();
    store.updateAll(tickDelta_);
    updater.update(tickDelta_);
    for (Convinience::Updatable* updatable : triggers.updatables()) updatable->update(tickDelta_);
    runQueuedCommands();
    secondaryIndex.refresh();
}

void GameWorld::runQueuedCommands() {
    while (!commands.immediate.empty()) {
        std::vector<std::unique_ptr<Convinience::Command>> queued = std::move(commands.immediate);
        commands.immediate.clear();
        for (auto& command : queued) command->execute();
    }
}

}  // namespace Zarn
