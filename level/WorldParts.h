#pragma once

#include <memory>
#include <vector>

#include "level/TrapFactory.h"

namespace Zarn {

class ActionFactory;
class DialogPlayer;
class EventTriggerSet;
class InteractiveElementGroup;
class InteractiveElementStore;
class InteractiveElementUpdater;
class InteractiveMapElement;
class MapEventRegistry;
class MoneyTally;
class MusicalNoteSet;
class NumberedElementGroup;
class SecondarySteerableUnit;
class SecondaryUnitIndex;
class SpawnPoints;
class SteerableSimulator;
class SteerableUnitManager;
struct GameMap;

// The world's list of trap groups; it owns them.
using TrapGroupList = std::vector<std::unique_ptr<InteractiveElementGroup>>;
// The world's list of interactive elements other than traps and trap groups; it owns them.
using ElementList = std::vector<std::unique_ptr<InteractiveMapElement>>;
// The moving props' units; the list owns them.
using SecondaryUnitList = std::vector<std::unique_ptr<SecondarySteerableUnit>>;

// The objects of one copy of a room's world that a map load fills, given by
// their owner (the client game core or the server). None is owned here; each
// lives as long as the world. The lists are expected empty and the trigger set
// unarmed before the load.
struct WorldParts {
    GameMap& map;
    InteractiveElementStore& store;
    TrapFactory& trapFactory;
    TrapList& traps;
    TrapGroupList& groups;
    ElementList& elements;
    // The numbered-element table.
    NumberedElementGroup& numbered;
    // The elements the simulation updates each tick.
    InteractiveElementUpdater& updatables;
    SpawnPoints& spawnPoints;
    MapEventRegistry& registry;
    EventTriggerSet& triggers;
    ActionFactory& actions;
    MoneyTally& money;
    SteerableUnitManager& units;
    // The two lists the props' units are entered in, and their owner.
    SecondaryUnitIndex& secondaryIndex;
    SteerableSimulator& simulator;
    SecondaryUnitList& secondaryUnits;
    DialogPlayer& dialogs;
    // The notes of the world's running melody.
    MusicalNoteSet& allNotes;
};

}  // namespace Zarn
