#pragma once

#include "simulation/state/GameState.h"

namespace Zarn {

class DialogPlayer;
class NumberedElementGroup;
class SteerableUnitManager;
class TrapDirectory;

// Moves the client's world from one received state to the next: a segment
// starts by putting the world into the `from` state with each player's unit
// heading for its `to` position, steps dead-reckon the units and set the
// `to` state's traps and elements, and the segment's end puts the world into
// `to`. Units are paired by client ID. The world's parts are observed and
// outlive the interpolator; the two states must stay in place (in the state
// buffer) while their segment runs. Used on the client's main thread.
class StateInterpolator {
public:
    // traps, numbered and dialogs may be null (that part is left alone).
    StateInterpolator(SteerableUnitManager& units, TrapDirectory* traps, NumberedElementGroup* numbered,
                      DialogPlayer* dialogs)
        : units_(&units), traps_(traps), numbered_(numbered), dialogs_(dialogs) {}

    // elapsed 0, duration (to.tick - from.tick) x secondsPerTick; the world is
    // put into `from`. A numbered-element lookup failure throws
    // Convinience::Error; a trap number without a trap is skipped.
    void start(const GameState& from, const GameState& to);
    // dt in seconds; nothing once the segment is finished.
    void step(float dt);
    bool finished() const { return elapsed >= duration; }

    // The tick delta in seconds; 1.0 until set.
    float secondsPerTick = 1.0f;
    float duration = 0.0f;
    float elapsed = 0.0f;

private:
    void applyMap(const MapState& state, bool moveSteerables, float step);
    void applyDialog(const MapState& state);
    void arrive();

    SteerableUnitManager* units_;
    TrapDirectory* traps_;
    NumberedElementGroup* numbered_;
    DialogPlayer* dialogs_;
    const GameState* from_ = nullptr;
    const GameState* to_ = nullptr;
};

}  // namespace Zarn
