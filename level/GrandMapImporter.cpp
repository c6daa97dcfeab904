#include "level/GrandMapImporter.h"

#include "level/InteractiveElementStore.h"
#include "world/elements/ElementGroup.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SpawnPoints.h"
#include "world/traps/TrapGroup.h"
#include "world/triggers/EventTriggerSet.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/units/SecondarySteerableUnit.h"

namespace Zarn {

GrandMapImporter::GrandMapImporter(const WorldParts& world)
    : world_(world),
      components_(world.map),
      registrations_(world.triggers.positionElementTrigger()),
      groupBuilder_(world.store, world.groups),
      scripts_(world.map.grid, world.units, world.dialogs, registrations_),
      elementBuilder_(world_, registrations_, scripts_) {}

GrandMapImporter::~GrandMapImporter() = default;

GeometryLib::Point GrandMapImporter::spawnCellOf(const GeometryLib::Point& spawnPoint, u32 cellSize) {
    if (cellSize == 0) return GeometryLib::Point(0, 0);
    const i64 size = cellSize;
    return GeometryLib::Point(static_cast<i16>(static_cast<i64>(spawnPoint.x) / size),
                              static_cast<i16>(static_cast<i64>(spawnPoint.y) / size));
}

void GrandMapImporter::import(std::istream& stream) {
    components_.import(stream);
    const Marks marks{world_.traps.size(),          world_.groups.size(),
                      world_.elements.size(),       world_.updatables.elements.size(),
                      world_.secondaryUnits.size(), world_.spawnPoints.defaultSpawnCell()};
    try {
        buildWorld();
    } catch (...) {
        undo(marks);
        throw;
    }
    registrations_.keep();
}

void GrandMapImporter::buildWorld() {
    GameMap& map = world_.map;
    world_.spawnPoints.setDefaultSpawnCell(spawnCellOf(map.header.spawnPoint, map.grid.getCellSize()));

    const std::size_t firstTrap = world_.traps.size();
    for (const std::unique_ptr<TrapElement>& record : map.trapRecords) {
        if (record) world_.trapFactory.loadTrap(*record);
    }
    for (std::size_t i = firstTrap; i < world_.traps.size(); ++i) world_.store.addTrap(*world_.traps[i]);
    world_.store.rebuildUpdatedTraps();

    const std::size_t firstGroup = world_.groups.size();
    groupBuilder_.buildTrapGroups(map.trapGroupRecords);
    for (std::size_t i = firstGroup; i < world_.groups.size(); ++i)
        world_.store.addTrapGroup(*world_.groups[i]);

    elementBuilder_.buildElements();
    // Nothing below throws for a map that the section importers accepted; the
    // events are filed after the elements so that a failed build leaves the
    // registry untouched.
    world_.registry.registerImportedEvents();
    world_.triggers.arm();
}

void GrandMapImporter::undo(const Marks& marks) {
    registrations_.undo();
    PositionIMETrigger& trigger = world_.triggers.positionElementTrigger();
    for (std::size_t i = marks.traps; i < world_.traps.size(); ++i) {
        Trap& trap = *world_.traps[i];
        trigger.removeElement(trap, trap.trapRecord->coveredCells.points());
        world_.trapFactory.forgetDelayedTrap(trap);
    }
    elementBuilder_.undoBlockables();
    world_.store.clear();
    world_.numbered.clear();
    world_.updatables.elements.resize(marks.updatables);
    // Elements first (they observe the props' units and the traps), then the
    // units, the groups (they observe traps) and the traps.
    while (world_.elements.size() > marks.elements) world_.elements.pop_back();
    while (world_.secondaryUnits.size() > marks.secondaryUnits) world_.secondaryUnits.pop_back();
    while (world_.groups.size() > marks.groups) world_.groups.pop_back();
    while (world_.traps.size() > marks.traps) world_.traps.pop_back();
    world_.spawnPoints.setDefaultSpawnCell(marks.spawnCell);
}

}  // namespace Zarn
