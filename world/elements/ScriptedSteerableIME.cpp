#include "world/elements/ScriptedSteerableIME.h"

namespace Zarn {

bool ScriptedSteerableIME::touches(const GeometryLib::Point&, SteerableUnit* unit) {
    if (!enabled) return false;
    if (contactListener && unit) contactListener->notify(*unit);
    return false;
}

void ScriptedSteerableIME::reset() {
    SteerableIME::reset();
    runner.reset();
}

void ScriptedSteerableIME::update(float dt) {
    SteerableIME::update(dt);
    if (enabled && runner.isRunning()) runner.update(dt);
}

}  // namespace Zarn
