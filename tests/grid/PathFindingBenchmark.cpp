// A* and jump-point search on the same generated rooms: an open 256 x 256
// room with scattered blockers, the same room without blockers, and a maze
// with some loops. Each iteration is one search; "expanded" and "generated"
// are nodes per search, "reached" the entries of the predecessor map a search
// returns (every node that got a cost: each is a hashed insert, a heap push
// and a copy in the search loop both finders share); the ratio lines printed
// at the end are A* CPU time / JPS CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "GridTestSupport.h"
#include "grid/AStarJPSPathFinder.h"
#include "grid/AStarPathFinder.h"

namespace {

using GeometryLib::Point;

constexpr u32 kCell = 16;

struct Room {
    Zarn::CellGrid grid;
    std::vector<std::pair<Point, Point>> pairs;
};

Point centre(int cx, int cy) {
    return Point(static_cast<i16>(cx * kCell + 8), static_cast<i16>(cy * kCell + 8));
}

// Keeps the pairs that A* connects, so both searches do full work.
void choosePairs(Room& room, int count, std::mt19937& rng, const std::vector<std::string>& rows) {
    Zarn::AStarPathFinder check(room.grid);
    const int w = static_cast<int>(rows[0].size());
    const int h = static_cast<int>(rows.size());
    // The two far corners first, then random far-apart pairs.
    std::vector<std::pair<Point, Point>> candidates{{centre(1, 1), centre(w - 2, h - 2)},
                                                    {centre(1, h - 2), centre(w - 2, 1)}};
    std::uniform_int_distribution<int> x(0, w - 1);
    std::uniform_int_distribution<int> y(0, h - 1);
    while (candidates.size() < 200) {
        const Point a = centre(x(rng), y(rng));
        const Point b = centre(x(rng), y(rng));
        if (std::abs(a.x - b.x) + std::abs(a.y - b.y) > static_cast<int>(kCell) * (w + h) / 2)
            candidates.push_back({a, b});
    }
    for (const auto& [a, b] : candidates) {
        if (static_cast<int>(room.pairs.size()) == count) break;
        if (!room.grid.isFree(GeometryLib::FPoint(a)) || !room.grid.isFree(GeometryLib::FPoint(b))) continue;
        if (check.findPath(a, b).count(b) != 0) room.pairs.push_back({a, b});
    }
}

const Room& openRoom() {
    static Room room = [] {
        Room r;
        std::mt19937 rng(256);
        std::vector<std::string> rows(256, std::string(256, '.'));
        std::bernoulli_distribution blocker(0.05);
        for (auto& row : rows) {
            for (char& c : row) c = blocker(rng) ? '#' : '.';
        }
        // A few short walls as well as single blockers.
        std::uniform_int_distribution<int> pos(8, 240);
        for (int i = 0; i < 60; ++i) {
            const int x = pos(rng);
            const int y = pos(rng);
            const bool across = (i % 2) == 0;
            for (int k = 0; k < 12; ++k) rows[across ? y : y + k][across ? x + k : x] = '#';
        }
        zarn_test::drawGrid(r.grid, rows, kCell);
        choosePairs(r, 16, rng, rows);
        return r;
    }();
    return room;
}

// The same size without any blocker: the case jump-point search is made for.
const Room& emptyRoom() {
    static Room room = [] {
        Room r;
        std::mt19937 rng(512);
        const std::vector<std::string> rows(256, std::string(256, '.'));
        zarn_test::drawGrid(r.grid, rows, kCell);
        choosePairs(r, 16, rng, rows);
        return r;
    }();
    return room;
}

const Room& mazeRoom() {
    static Room room = [] {
        Room r;
        std::mt19937 rng(128);
        const auto rows = zarn_test::makeMaze(127, 127, 0.1, rng);  // 255 x 255 cells
        zarn_test::drawGrid(r.grid, rows, kCell);
        choosePairs(r, 16, rng, rows);
        return r;
    }();
    return room;
}

// Counts the nodes a search expands and the successors it generates.
template <typename Base>
class Counting : public Base {
public:
    using Base::Base;
    std::vector<Point> successors(const Point& node) override {
        ++expanded;
        std::vector<Point> next = Base::successors(node);
        generated += next.size();
        return next;
    }
    std::size_t expanded = 0;
    std::size_t generated = 0;
};

template <typename Finder>
void runSearches(benchmark::State& state, const Room& room) {
    Counting<Finder> counting(room.grid);
    std::size_t reached = 0;
    for (const auto& [start, goal] : room.pairs) reached += counting.findPath(start, goal).size();
    state.counters["expanded"] = static_cast<double>(counting.expanded) / room.pairs.size();
    state.counters["generated"] = static_cast<double>(counting.generated) / room.pairs.size();
    state.counters["reached"] = static_cast<double>(reached) / room.pairs.size();

    Finder finder(room.grid);
    std::size_t i = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto& [start, goal] = room.pairs[i++ % room.pairs.size()];
        const auto result = finder.findPath(start, goal);
        found += result.count(goal);
        benchmark::DoNotOptimize(result);
    }
    if (found != static_cast<std::size_t>(state.iterations())) state.SkipWithError("a search found no path");
}

void OpenRoom_AStar(benchmark::State& state) {
    runSearches<Zarn::AStarPathFinder>(state, openRoom());
}
void OpenRoom_JPS(benchmark::State& state) {
    runSearches<Zarn::AStarJPSPathFinder>(state, openRoom());
}
void EmptyRoom_AStar(benchmark::State& state) {
    runSearches<Zarn::AStarPathFinder>(state, emptyRoom());
}
void EmptyRoom_JPS(benchmark::State& state) {
    runSearches<Zarn::AStarJPSPathFinder>(state, emptyRoom());
}
void Maze_AStar(benchmark::State& state) {
    runSearches<Zarn::AStarPathFinder>(state, mazeRoom());
}
void Maze_JPS(benchmark::State& state) {
    runSearches<Zarn::AStarJPSPathFinder>(state, mazeRoom());
}

BENCHMARK(OpenRoom_AStar)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenRoom_JPS)->Unit(benchmark::kMicrosecond);
BENCHMARK(EmptyRoom_AStar)->Unit(benchmark::kMicrosecond);
BENCHMARK(EmptyRoom_JPS)->Unit(benchmark::kMicrosecond);
BENCHMARK(Maze_AStar)->Unit(benchmark::kMicrosecond);
BENCHMARK(Maze_JPS)->Unit(benchmark::kMicrosecond);

// Forwards to the console and keeps each run's CPU time per iteration (the
// machine may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            // With --benchmark_repetitions the median counts; otherwise the single run.
            if (run.run_type == Run::RT_Iteration && medians.count(run.run_name.function_name) == 0) {
                times[run.run_name.function_name] = run.GetAdjustedCPUTime();
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times[run.run_name.function_name] = run.GetAdjustedCPUTime();
                medians.insert(run.run_name.function_name);
            }
        }
    }
    std::map<std::string, double> times;
    std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* room : {"OpenRoom", "EmptyRoom", "Maze"}) {
        const auto a = reporter.times.find(std::string(room) + "_AStar");
        const auto j = reporter.times.find(std::string(room) + "_JPS");
        if (a != reporter.times.end() && j != reporter.times.end() && j->second > 0) {
            std::printf("%s: A* %.1f us, JPS %.1f us per search, A*/JPS = %.2f\n", room, a->second, j->second,
                        a->second / j->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
