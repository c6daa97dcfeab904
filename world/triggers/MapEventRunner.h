#pragma once

#include <optional>
#include <vector>

#include "map/records/MapEventData.h"

namespace Corvel {
struct ClientCommandState;
}

namespace Zarn {

class ActionEventTrigger;
class ActionFactory;
class MapEventRegistry;

// The actions of a list as the action factory takes them.
std::vector<const ActionData*> actionPointers(const ActionList& actions);

// Fires one map event: turns its actions into commands, queues them on the
// command state's immediate list, reports the actions to the triggers tied to
// actions and books the firing. Everything it refers to is owned by the game
// core or server that owns the world and outlives it. Used by the thread that
// owns the world.
struct MapEventRunner {
    // Answers false and does nothing when the event is absent or disabled.
    // Otherwise queues one command per action in list order, reports each
    // action to the action sink in list order, books one firing and answers
    // true. A throw of the action factory passes out; the firing is then not
    // booked. actor: the client whose unit set the event off by arriving on
    // its cell, when one did; the actions that act on the player act on it.
    bool fire(const MapEventData& event, std::optional<u32> actor = std::nullopt) const;

    MapEventRegistry& registry;
    ActionFactory& actionFactory;
    ActionEventTrigger& actionSink;
    // The world's own record of the command manager; its immediate list is
    // executed first in, first out.
    Corvel::ClientCommandState& commands;
};

}  // namespace Zarn
