#include "world/steering/WorldRandom.h"

namespace Zarn {

std::mt19937& worldRandomEngine() {
    thread_local std::mt19937 engine{std::random_device{}()};
    return engine;
}

void seedWorldRandomEngine(u32 seed) {
    worldRandomEngine().seed(seed);
}

float worldRandomUnit() {
    // The top 24 bits scaled by 2^-24: exactly representable, never 1.0.
    return static_cast<float>(worldRandomEngine()() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace Zarn
