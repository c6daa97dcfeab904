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
    world_.stepOnce();
    ticks_.onStep(world_.simulator.tickCount);
    scores_.updateAll();
}

}  // namespace Zarn
