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
    // The command for one action, chosen by its action kind. Throws
    // Convinience::Error "invalid commandID" for a kind it does not know.
    virtual std::unique_ptr<Convinience::Command> makeCommand(const ActionData& action) = 0;
};

}  // namespace Zarn
