#include "world/triggers/ScriptedAction.h"

#include "world/steering/PathedSteering.h"
#include "world/triggers/DialogPlayer.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

void ScriptedPathedMoveAction::execute() {
    if (status_ != ScriptedActionStatus::idle) return;
    arrived_ = std::make_shared<u8>(0);
    auto walk = std::make_unique<PathedSteering>(&unit_, route_, kWaypointRadius);
    walk->onArrival = [arrived = arrived_] { *arrived = 1; };
    if (unit_.inputEnabled) unit_.motion.addSteering(std::move(walk));
    status_ = ScriptedActionStatus::running;
}

void ScriptedPathedMoveAction::update(float) {
    if (isRunning() && *arrived_) status_ = ScriptedActionStatus::finished;
}

void ScriptedPathedMoveAction::reset() {
    ScriptedAction::reset();
    arrived_ = std::make_shared<u8>(0);
}

void ScriptedWaitAction::update(float dt) {
    if (!isRunning()) return;
    elapsed_ += dt;
    if (elapsed_ >= duration_) status_ = ScriptedActionStatus::finished;
}

void ScriptedWaitAction::reset() {
    ScriptedAction::reset();
    elapsed_ = 0.0f;
}

void ScriptedDialogAction::execute() {
    player_.play(number_);
    status_ = ScriptedActionStatus::running;
}

void ScriptedDialogAction::update(float) {
    if (!isRunning()) return;
    if (player_.getCurrent() != number_ || !player_.isPlaying()) status_ = ScriptedActionStatus::finished;
}

}  // namespace Zarn
