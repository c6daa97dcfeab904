#include <benchmark/benchmark.h>

#include <sstream>

#include "simulation/core/GameWorld.h"
#include "support/RoomFixtures.h"

namespace {

// One simulation step of a busy room: 40 interval spikes, the boss with its
// bomb dropper, spawners, arms and cannon group fighting, and 4 player units
// standing among the spikes (dying and respawning). A tick is 30 ms; the
// figure to watch is the time per iteration as a share of it.
void BM_ServerStepBusyRoom(benchmark::State& state) {
    Zarn::GameWorld world;
    std::istringstream in = zarn_test::busyRoom().stream();
    world.loadMap(in);
    for (u32 id = 0; id < 4; ++id)
        world.addPlayer(id).body().position = zarn_test::cellCentre(GeometryLib::Point(2 * id + 1, 6));
    for (int warm = 0; warm < 100; ++warm) world.stepOnce();
    for (auto _ : state) world.stepOnce();
    state.counters["share_of_30ms_tick_percent"] = benchmark::Counter(
        state.iterations() * 0.030 / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ServerStepBusyRoom);

}  // namespace

BENCHMARK_MAIN();
