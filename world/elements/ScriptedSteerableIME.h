#pragma once

#include "world/elements/SteerableIME.h"
#include "world/triggers/ScriptedActionRunner.h"

namespace Zarn {

class ScriptedNotifier;

// A scripted figure: a steered prop that runs a script of scripted actions
// (walk a route, wait, talk) and tells its contact listener of every unit
// that touches it. Its effect never applies. The record and the unit belong
// to the game map and the world, as for every steered prop.
class ScriptedSteerableIME : public SteerableIME {
public:
    using SteerableIME::SteerableIME;

    // Enabled: tells the contact listener (if any) of the unit. Always false.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // The prop's reset; the script starts again from its first action.
    void reset() override;
    // The prop's update; then, while enabled and the script runs, the runner's.
    void update(float dt) override;

    // Replaces the listener; null removes it. Not owned: the listener is an
    // action of this figure's runner and lives as long as the figure.
    void setContactListener(ScriptedNotifier* listener) { contactListener = listener; }

    ScriptedActionRunner runner;
    ScriptedNotifier* contactListener = nullptr;
};

}  // namespace Zarn
