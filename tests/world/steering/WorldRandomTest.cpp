#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "world/steering/WorldRandom.h"

namespace Zarn {
namespace {

std::vector<float> draws(int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i) v.push_back(worldRandomUnit());
    return v;
}

TEST(WorldRandomTest, SeedingRepeatsTheSequenceAndThreadsHaveTheirOwn) {
    seedWorldRandomEngine(42);
    const std::vector<float> first = draws(8);
    seedWorldRandomEngine(42);
    EXPECT_EQ(draws(8), first);
    for (float f : first) {
        EXPECT_GE(f, 0.0f);
        EXPECT_LT(f, 1.0f);
    }

    seedWorldRandomEngine(42);
    std::vector<float> other;
    std::thread t([&] {
        seedWorldRandomEngine(42);
        other = draws(8);
    });
    // Draws here do not disturb the other thread's engine.
    draws(100);
    t.join();
    EXPECT_EQ(other, first);
}

}  // namespace
}  // namespace Zarn
