#include "simulation/server/ServerStepper.h"

#include "simulation/core/GameWorld.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/sync/MultiClientTickTracker.h"

namespace Zarn {

bool ServerStepper::checkLaggards() {
    return Zarn::checkLaggards(ticks_, kicker_, logger_);
}

bool ServerStepper::step() {
    if (!checkLaggards()) return false;
    world_.simulator.step();
    ticks_.onStep(world_.simulator.tickCount);
    const float dt = world_.tickDelta();
    world_.store.updateAll(dt);
    world_.updater.update(dt);
    for (Convinience::Updatable* updatable : world_.triggers.updatables()) updatable->update(dt);
    world_.runQueuedCommands();
    scores_.updateAll();
    world_.secondaryIndex.refresh();
    ++steps_;
    return true;
}

}  // namespace Zarn
