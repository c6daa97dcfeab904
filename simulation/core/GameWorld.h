#pragma once

#include <istream>
#include <memory>
#include <vector>

#include "foundation/CommandScheduler.h"
#include "level/GrandMapImporter.h"
#include "level/InteractiveElementStore.h"
#include "level/TrapFactory.h"
#include "level/WorldParts.h"
#include "map/import/GameMap.h"
#include "simulation/actions/ActionFactoryImpl.h"
#include "world/elements/ElementGroup.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/elements/MusicalNote.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SpawnPoints.h"
#include "world/steering/SteerableSimulator.h"
#include "world/traps/TrapGroup.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/EventTriggerSet.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/units/MoneyTally.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SecondaryUnitIndex.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

// One whole copy of a room's world, as the client game core and the server
// each own one: the game map, the units, the traps and elements with their
// tables, the event machinery, the map-action factory and the map importer
// over all of it. Members are declared so that what observes goes before what
// it observes: the importer and factories are destroyed first, the spawned
// traps (store) before the trap list, the elements before the props' units.
//
// `commands` is the world's own command state: map events queue their
// commands on its immediate list; stepOnce runs them after the tick.
//
// Used by the one thread that owns the world.
class GameWorld {
public:
    GameWorld();
    ~GameWorld();
    GameWorld(const GameWorld&) = delete;
    GameWorld& operator=(const GameWorld&) = delete;

    // Reads and builds one room; a throw leaves the world without it (the
    // importer takes back what it built). The units' default position becomes
    // the map's start point and units that exist already are moved there.
    void loadMap(std::istream& stream);

    // A unit for the client at the default position, moved by the simulator
    // from the next tick on; a client that has a unit keeps it.
    SteerableUnit& addPlayer(u32 clientId);
    // Takes the client's unit out of the simulator and destroys it.
    void removePlayer(u32 clientId);

    void setTickDelta(float seconds);
    float tickDelta() const { return tickDelta_; }

    // The seed of the game instance (GameInstance::spawnSeed), kept for maps
    // loaded later: every trap spawner of the room draws from an engine of
    // its own seeded with (seed, the spawner's trap number), so two copies of
    // a room with one seed, stepped alike, spawn the same traps. 0 gives the
    // spawners back the random device. Setting the seed the world has already
    // changes nothing (the engines go on).
    void setSpawnSeed(u32 seed);
    u32 spawnSeed() const { return spawnSeed_; }

    // One tick, the server's and the only one: steering; the store's traps;
    // the updated elements; the trigger set's updatables (contacts, timers)
    // in order; the commands the events queued, first in, first out; last the
    // moving props' cell index refreshed (so contacts within a step find the
    // props where the previous step left them).
    void stepOnce();
    // The commands waiting on the world's own immediate list, in order.
    void runQueuedCommands();

    WorldParts parts();

    GameMap map;
    Corvel::ClientCommandState commands;
    SteerableUnitManager units;
    MoneyTally money;
    SpawnPoints spawnPoints;
    MapEventRegistry registry{map.mapEvents};
    SecondaryUnitIndex secondaryIndex{map.grid};
    SteerableSimulator simulator;
    DialogPlayer dialogs{map.dialogs};
    MusicalNoteSet allNotes;
    TrapList traps;
    TrapGroupList groups;
    SecondaryUnitList secondaryUnits;
    ElementList elements;
    NumberedElementGroup numbered;
    InteractiveElementUpdater updater;
    InteractiveElementStore store;
    ActionFactoryImpl actions{registry, store, units, dialogs, numbered, spawnPoints};
    EventTriggerSet triggers{commands, actions, registry, units, secondaryIndex, map.mapEvents, map.grid};
    TrapFactory trapFactory{
        map.grid, spawnPoints, triggers.positionElementTrigger(), &triggers.bindableTrigger(), store, traps};
    std::unique_ptr<GrandMapImporter> importer;

private:
    void seedSpawners();

    float tickDelta_ = 0.03f;
    u32 spawnSeed_ = 0;
};

}  // namespace Zarn
