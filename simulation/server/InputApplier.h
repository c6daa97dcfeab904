#pragma once

#include <vector>

#include "foundation/Types.h"

namespace Zarn {

class AppliedInputRegistry;
class DialogPlayer;
class InputEventTrigger;
class InputState;
class PositionIMETrigger;
class SteerableUnitManager;
struct GameMap;

// Applies the new inputs of one received state to the sender's unit: move to
// a point (kind 1; the walk avoids the cells that kill as the contact index
// holds them at that moment, JPSMovePlanner), dismiss a waited dialog (2 and 12: the dialog stops, and
// every unit is marked dismissed and may steer again), press and release of
// the four steering keys (4/5 +y, 6/7 -y, 8/9 +x, 10/11 -x; a press of a held
// key or a release of a free one changes nothing); other kinds do nothing.
// The latest of clicks and keys steers: a move to a point replaces the
// unit's walk, key steering included; a key event that leaves the held keys
// pointing somewhere hands the unit to its keys (KeySteering::takeOver),
// which drops a planned walk.
// Each input's result goes to the input trigger. Then the registry's set for
// the sender is replaced. Everything belongs to the server; server thread only.
struct InputApplier {
    void apply(u32 senderId, const std::vector<InputState>& states);

    AppliedInputRegistry& registry;
    SteerableUnitManager& units;
    DialogPlayer& dialogs;
    const GameMap& map;
    InputEventTrigger& trigger;
    // The world's cells -> elements index, read for the cells that kill.
    const PositionIMETrigger& contacts;
};

}  // namespace Zarn
