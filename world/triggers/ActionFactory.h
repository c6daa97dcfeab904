#pragma once

#include <memory>
#include <vector>

#include "foundation/Command.h"
#include "map/records/ActionData.h"

namespace Zarn {

// Turns map actions into commands. The world calls it when a lever, a note
// sequence, an event or a timer fires; the simulation layer implements it
// (the commands act on that layer's objects). Called on the world's thread.
class ActionFactory {
public:
    virtual ~ActionFactory() = default;
    // One command per action, in list order.
    virtual std::vector<std::unique_ptr<Convinience::Command>> makeCommands(
        const std::vector<const ActionData*>& actions) = 0;
    // The same for actions that a player set off by arriving somewhere (the
    // unit of `clientId`): an action that acts on "the player" acts on that
    // unit. By default nothing in the commands depends on who it was.
    virtual std::vector<std::unique_ptr<Convinience::Command>> makeCommandsFor(
        const std::vector<const ActionData*>& actions, u32 clientId) {
        (void)clientId;
        return makeCommands(actions);
    }
    // The command for one action, chosen by its action kind. Throws
    // Convinience::Error "invalid commandID" for a kind it does not know.
    virtual std::unique_ptr<Convinience::Command> makeCommand(const ActionData& action) = 0;
};

}  // namespace Zarn
