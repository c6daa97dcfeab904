#include "simulation/commands/FixedRateProducer.h"

namespace Zarn {

void FixedRateProducer::advance(float dt) {
    if (!enabled) return;
    accumulator += dt;
    totalTime += dt;
    while (accumulator >= period) {
        if (producer_) {
            if (auto command = producer_->create(nextCommandID)) target_->push_back(std::move(command));
        }
        accumulator -= period;
        nextCommandID = 1;
    }
}

}  // namespace Zarn
