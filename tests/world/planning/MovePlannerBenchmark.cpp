// One planned walk per iteration, in rooms with cells that kill: a room the
// size of the story's (12 x 7 cells of 64 units, a handful of holes and
// running traps) and an open 256 x 256 room of 16-unit cells with scattered
// walls, one cell in twenty a hole and one in twenty a running trap. The
// "_Hazards" runs plan round the killing cells; the "_Plain" runs plan the
// same walks without them, as the planner does in a room without traps.
// "walks" is the share of requests that installed a walk.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "grid/GridTestSupport.h"
#include "world/planning/CellHazards.h"
#include "world/planning/JPSMovePlanner.h"
#include "world/units/SteerableUnit.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using Zarn::CellHazards;

struct Room {
    Zarn::CellGrid grid;
    CellHazards hazards;
    std::vector<GeometryLib::Rect> rectangles;
    std::vector<std::pair<FPoint, FPoint>> walks;
};

Room makeRoom(int columns, int rows, u32 cell, double walls, double holes, double traps, unsigned seed) {
    Room room;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    std::vector<std::string> picture(static_cast<std::size_t>(rows),
                                     std::string(static_cast<std::size_t>(columns), '.'));
    for (auto& row : picture) {
        for (char& c : row) {
            const double d = draw(rng);
            c = d < walls ? '#' : (d < walls + holes ? 'h' : (d < walls + holes + traps ? 't' : '.'));
        }
    }
    std::vector<std::string> solid = picture;
    for (auto& row : solid) {
        for (char& c : row) c = c == '#' ? '#' : '.';
    }
    zarn_test::drawGrid(room.grid, solid, cell);
    room.hazards = CellHazards(static_cast<u32>(columns), static_cast<u32>(rows));
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const char c = picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            if (c == 'h') room.hazards.raise(x, y, CellHazards::Danger::always);
            if (c == 't') room.hazards.raise(x, y, CellHazards::Danger::sometimes);
        }
    }
    std::uniform_int_distribution<int> cx(0, columns - 1);
    std::uniform_int_distribution<int> cy(0, rows - 1);
    auto safe = [&](int x, int y) {
        return picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '.';
    };
    while (room.walks.size() < 32) {
        const int ax = cx(rng), ay = cy(rng), bx = cx(rng), by = cy(rng);
        if (!safe(ax, ay) || !safe(bx, by) || std::abs(ax - bx) + std::abs(ay - by) < (columns + rows) / 3)
            continue;
        const float h = static_cast<float>(cell) / 2.0f;
        room.walks.push_back({FPoint(ax * cell + h, ay * cell + h), FPoint(bx * cell + h, by * cell + h)});
    }
    return room;
}

const Room& storyRoom() {
    static const Room room = makeRoom(12, 7, 64, 0.08, 0.12, 0.08, 7);
    return room;
}

const Room& openRoom() {
    static const Room room = makeRoom(256, 256, 16, 0.05, 0.05, 0.05, 256);
    return room;
}

void plan(benchmark::State& state, const Room& room, bool hazards) {
    Zarn::SteerableUnit unit{1};
    std::size_t i = 0;
    std::size_t installed = 0;
    for (auto _ : state) {
        const auto& [from, to] = room.walks[i++ % room.walks.size()];
        unit.body().position = from;
        Zarn::JPSMovePlanner planner(unit, room.grid, room.rectangles, hazards ? &room.hazards : nullptr);
        planner.planMove(to);
        std::size_t behaviours = 0;
        unit.motion.steering.forEach([&](Zarn::Steering&) { ++behaviours; });
        installed += behaviours;
    }
    state.counters["walks"] = static_cast<double>(installed) / static_cast<double>(state.iterations());
}

void StoryRoom_Plain(benchmark::State& state) {
    plan(state, storyRoom(), false);
}
void StoryRoom_Hazards(benchmark::State& state) {
    plan(state, storyRoom(), true);
}
void OpenRoom_Plain(benchmark::State& state) {
    plan(state, openRoom(), false);
}
void OpenRoom_Hazards(benchmark::State& state) {
    plan(state, openRoom(), true);
}

BENCHMARK(StoryRoom_Plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(StoryRoom_Hazards)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenRoom_Plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenRoom_Hazards)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
