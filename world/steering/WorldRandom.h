#pragma once

#include <random>

#include "foundation/Types.h"

namespace Zarn {

// The random engine that wandering and the level-up mode draw from: one per
// thread (the server's world and the client's world run on different
// threads), seeded once from the random device on first use.
std::mt19937& worldRandomEngine();
// Reseeds the calling thread's engine; for tests and reproducible runs.
void seedWorldRandomEngine(u32 seed);
// A uniform float in [0, 1) from the calling thread's engine.
float worldRandomUnit();

}  // namespace Zarn
