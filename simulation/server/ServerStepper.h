#pragma once

#include "foundation/Logger.h"
#include "foundation/Types.h"

namespace Zarn {

class GameWorld;
class LagKicker;
class MultiClientTickTracker;
class ScoreKeeperRegistry;

// Advances the server's world by one tick when the tick tracker admits it.
// Everything it refers to belongs to the server and outlives it. Server thread
// only.
class ServerStepper {
public:
    ServerStepper(GameWorld& world, MultiClientTickTracker& ticks, ScoreKeeperRegistry& scores)
        : world_(world), ticks_(ticks), scores_(scores) {}

    // When admitted: the world's one step (GameWorld::stepOnce), then the
    // tracker told the new tick, then every score keeper in ascending kind
    // order. Answers whether it stepped. A throw from the world
    // breaks the stepper (logged at CRITICAL): it steps no more, and the
    // server ends the game.
    bool step();
    bool isBroken() const { return broken_; }
    // Whether the next step may run (the tick tracker's rule, with the lag
    // kicker when one is installed).
    bool checkLaggards();

    // Observed; owned by the host. None by default.
    void setLagKicker(LagKicker* kicker) { kicker_ = kicker; }
    u32 stepCount() const { return steps_; }

private:
    void advance();

    GameWorld& world_;
    MultiClientTickTracker& ticks_;
    ScoreKeeperRegistry& scores_;
    LagKicker* kicker_ = nullptr;
    u32 steps_ = 0;
    bool broken_ = false;
    Convinience::Logger logger_;
};

}  // namespace Zarn
