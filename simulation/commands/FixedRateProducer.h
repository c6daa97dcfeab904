#pragma once

#include <memory>
#include <vector>

#include "foundation/Command.h"

namespace Zarn {

// Emits one local command per elapsed period into a command queue: the
// command of nextCommandID (1 unless something set another since the last
// emission), built by the producer. Used on the client's main thread.
class FixedRateProducer {
public:
    using CommandQueue = std::vector<std::unique_ptr<Convinience::Command>>;

    // target is observed (the scheduler's local queue) and outlives the
    // producer; the factory is observed and may be null.
    FixedRateProducer(CommandQueue& target, Convinience::IDBasedCommandFactory* producer)
        : target_(&target), producer_(producer) {}

    // dt in seconds; nothing while disabled.
    void advance(float dt);

    float period = 1.0f;
    float totalTime = 0.0f;
    float accumulator = 0.0f;
    u32 nextCommandID = 1;
    bool enabled = true;

private:
    CommandQueue* target_;
    Convinience::IDBasedCommandFactory* producer_;
};

}  // namespace Zarn
