#pragma once

#include <memory>
#include <vector>

#include "simulation/state/GameState.h"
#include "simulation/state/InputTables.h"

namespace Zarn {

class DialogPlayer;
class InputManager;
class NumberedElementGroup;
class Simulator;
class SteerableUnitManager;
class Trap;

// Builds the full map state of a world: every trap of the trap list (in list
// order, keyed by its record's trap number), every numbered element (in the
// table's order) and the playing dialog. The world's parts outlive the
// capture; used by the thread that owns the world.
class MapStateCapture {
public:
    MapStateCapture(const std::vector<std::unique_ptr<Trap>>& traps, const NumberedElementGroup& numbered,
                    const DialogPlayer* dialogs)
        : traps_(&traps), numbered_(&numbered), dialogs_(dialogs) {}

    MapState capture() const;

private:
    const std::vector<std::unique_ptr<Trap>>* traps_;
    const NumberedElementGroup* numbered_;
    const DialogPlayer* dialogs_;
};

// Builds a GameState from the live world: the server for its state
// synchronisations, the client for its state updates and inputs. The parts
// are observed and outlive the capture; used by the thread that owns the world.
class GameStateCapture {
public:
    GameStateCapture(const SteerableUnitManager& units, const Simulator& ticks)
        : units_(&units), ticks_(&ticks) {}

    // The state of the current tick. With an input manager each call is one
    // capture: the counter moves on and stamps the input taken from every
    // client with queued input (whose queue is then cleared). Without an
    // unconfirmed-input table (the server) the taken input goes into the
    // state; with one (the client) it is filed there and the state carries
    // every unacknowledged input, oldest first.
    GameState capture();

    // Optional parts, observed.
    InputManager* inputs = nullptr;
    UnconfirmedInputTable* unconfirmed = nullptr;
    const AppliedInputRegistry* applied = nullptr;
    const MapStateCapture* mapState = nullptr;
    // The input tick of the last capture.
    u32 captureCounter = 0;

private:
    const SteerableUnitManager* units_;
    const Simulator* ticks_;
};

}  // namespace Zarn
