#pragma once

#include <memory>
#include <vector>

#include "foundation/Command.h"
#include "world/effects/Effect.h"

namespace Zarn {

class Lever;
class NumberedElementGroup;

// Actions made by the action factory from map action records; run in list order.
using ActionCommands = std::vector<std::unique_ptr<Convinience::Command>>;

// Flips its lever when a living unit (or no unit) touches it and runs the
// list of actions of the new side: offActions going on -> off, onActions going
// off -> on. A dead or carried unit flips nothing (applied 0). Result kind 5
// naming the lever. Owned by the lever; `lever` is set by the builder once the
// lever exists and points at the effect's owner.
class LeverEffect : public Effect {
public:
    LeverEffect(ActionCommands offActions, ActionCommands onActions)
        : offActions(std::move(offActions)), onActions(std::move(onActions)) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    ActionCommands offActions;
    ActionCommands onActions;
    Lever* lever = nullptr;
};

// The effect of a multi lever, which it finds by number in the numbered
// element table: every touch flips the lever, and the actions of the new side
// run only while its switch condition holds. Throws Convinience::Error "No
// such element number" / "numbered element is of wrong type" when the number
// names no multi lever. The table belongs to the world and outlives the effect.
class MultiLeverEffect : public Effect {
public:
    MultiLeverEffect(ActionCommands offActions, ActionCommands onActions,
                     const NumberedElementGroup& elements, u32 number)
        : offActions(std::move(offActions)),
          onActions(std::move(onActions)),
          elements(&elements),
          number(number) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    ActionCommands offActions;
    ActionCommands onActions;
    const NumberedElementGroup* elements;
    u32 number;
};

// Runs every command of the list in order.
void runActions(const ActionCommands& actions);

}  // namespace Zarn
