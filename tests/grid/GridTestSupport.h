#pragma once

#include <string>
#include <vector>

#include "grid/CellGrid.h"

namespace zarn_test {

// A grid drawn as text: rows[y][x] is the cell (x, y); '#' is solid, anything
// else free. Every row has the same length.
inline void drawGrid(Zarn::CellGrid& grid, const std::vector<std::string>& rows, u32 cellSize) {
    const u32 columns = rows.empty() ? 0 : static_cast<u32>(rows[0].size());
    grid.setProperties(
        Zarn::MapProperties(columns * cellSize, static_cast<u32>(rows.size()) * cellSize, cellSize));
    grid.resize();
    grid.forEachCell([&](const GeometryLib::Point& origin, Zarn::TileStatus& status) {
        status = rows[origin.y / cellSize][origin.x / cellSize] == '#' ? 1 : 0;
    });
}

}  // namespace zarn_test

#include <random>

namespace zarn_test {

// A maze drawn as text, (2 * cellsX + 1) x (2 * cellsY + 1): rooms at odd
// coordinates joined by a depth-first carve, then about `loops` of the
// remaining inner walls knocked out so that there is more than one way.
inline std::vector<std::string> makeMaze(int cellsX, int cellsY, double loops, std::mt19937& rng) {
    const int w = 2 * cellsX + 1;
    const int h = 2 * cellsY + 1;
    std::vector<std::string> rows(h, std::string(w, '#'));
    std::vector<std::pair<int, int>> stack{{0, 0}};
    std::vector<char> seen(static_cast<std::size_t>(cellsX) * cellsY, 0);
    seen[0] = 1;
    rows[1][1] = '.';
    const int dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        std::vector<int> open;
        for (int d = 0; d < 4; ++d) {
            const int nx = x + dirs[d][0];
            const int ny = y + dirs[d][1];
            if (nx >= 0 && ny >= 0 && nx < cellsX && ny < cellsY && !seen[ny * cellsX + nx])
                open.push_back(d);
        }
        if (open.empty()) {
            stack.pop_back();
            continue;
        }
        const int d = open[std::uniform_int_distribution<std::size_t>(0, open.size() - 1)(rng)];
        const int nx = x + dirs[d][0];
        const int ny = y + dirs[d][1];
        seen[ny * cellsX + nx] = 1;
        rows[2 * y + 1 + dirs[d][1]][2 * x + 1 + dirs[d][0]] = '.';
        rows[2 * ny + 1][2 * nx + 1] = '.';
        stack.push_back({nx, ny});
    }
    std::bernoulli_distribution knock(loops);
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            if (rows[y][x] == '#' && ((x % 2) != (y % 2)) && knock(rng)) rows[y][x] = '.';
        }
    }
    return rows;
}

}  // namespace zarn_test
