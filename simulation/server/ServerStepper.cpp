#include "simulation/server/ServerStepper.h"

#include <exception>
#include <string>

#include "simulation/core/GameWorld.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/sync/MultiClientTickTracker.h"

namespace Zarn {

bool ServerStepper::checkLaggards() {
    return Zarn::checkLaggards(ticks_, kicker_, logger_);
}

bool ServerStepper::step() {
    if (broken_ || !checkLaggards()) return false;
    try {
        advance();
    } catch (const std::exception& e) {
        broken_ = true;
        logger_.log(4, std::string("Critical error: simulation step failed, the game ends: ") + e.what());
        return false;
    }
    ++steps_;
    return true;
}

void ServerStepper::advance() {
    world_.simulator.step();
    ticks_.onStep(world_.simulator.tickCount);
    const float dt = world_.tickDelta();
    world_.store.updateAll(dt);
    world_.updater.update(dt);
    for (Convinience::Updatable* updatable : world_.triggers.updatables()) updatable->update(dt);
    world_.runQueuedCommands();
    scores_.updateAll();
    world_.secondaryIndex.refresh();
}

}  // namespace Zarn
