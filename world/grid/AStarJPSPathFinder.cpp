#include "world/grid/AStarJPSPathFinder.h"

#include <algorithm>

#include "world/grid/CellGrid.h"

namespace Zarn {
namespace {

i16 signStep(i32 d, i16 s) {
    return d > 0 ? s : (d < 0 ? static_cast<i16>(-s) : static_cast<i16>(0));
}

}  // namespace

using GeometryLib::Point;

AStarJPSPathFinder::AStarJPSPathFinder(const CellGrid& grid)
    : AStarPathFinder(grid), s_(static_cast<i16>(grid.getCellSize())) {}

AStarJPSPathFinder::~AStarJPSPathFinder() = default;

void AStarJPSPathFinder::reset(const Point& start, const Point& goal) {
    AStarPathFinder::reset(start, goal);
    jumpPoints_.clear();
}

std::vector<Point> AStarJPSPathFinder::successors(const Point& node) {
    const auto parentEntry = cameFrom_.find(node);
    const Point parent = parentEntry == cameFrom_.end() ? node : parentEntry->second;
    const Point d = node - parent;
    const i16 dx = signStep(d.x, s_);
    const i16 dy = signStep(d.y, s_);
    std::vector<Point> result;
    if (inGoalCell(node)) {
        result.push_back(node);
    } else {
        const i16 m = static_cast<i16>(-s_);
        candidates_.clear();
        if (dx == 0 && dy == 0) {
            candidates_ = directions_;
        } else if (dx == 0) {
            candidates_ = {Point(0, dy), Point(s_, dy), Point(m, dy)};
        } else if (dy == 0) {
            candidates_ = {Point(dx, 0), Point(dx, s_), Point(dx, m)};
        } else {
            candidates_ = {Point(dx, dy), Point(dx, 0), Point(0, dy), Point(dx, static_cast<i16>(-dy)),
                           Point(static_cast<i16>(-dx), dy)};
        }
        for (const Point& c : candidates_) {
            if (!grid_->freeAt(node.x + c.x, node.y) && !grid_->freeAt(node.x, node.y + c.y)) continue;
            Point found;
            if (!jump(node, c, found)) continue;
            if (std::find(result.begin(), result.end(), found) == result.end()) result.push_back(found);
        }
    }
    for (const Point& p : result) jumpPoints_.insert(p);
    return result;
}

bool AStarJPSPathFinder::jump(const Point& from, const Point& direction, Point& found) {
    if (direction.x != 0 && direction.y != 0) {
        if (!grid_->canStep(direction, from)) return false;
        return jumpDiagonal(from, direction, found);
    }
    return jumpStraight(from, direction, found);
}

bool AStarJPSPathFinder::inGoalCell(const Point& p) const {
    return grid_->sameCell(p, goal_);
}

bool AStarJPSPathFinder::forced(const Point& side, const Point& direction) const {
    return !grid_->freeAt(side.x, side.y) && grid_->canStep(direction, side);
}

bool AStarJPSPathFinder::jumpStraight(const Point& from, const Point& d, Point& found) {
    const Point q1(d.y, d.x);
    const Point q2(static_cast<i16>(-d.y), static_cast<i16>(-d.x));
    if (!grid_->canStep(d, from)) return false;
    Point cur = from;
    while (true) {
        const Point next = cur + d;
        if (jumpPoints_.count(next) != 0) return false;
        cur = next;
        if (inGoalCell(cur) || forced(cur + q1, d) || forced(cur + q2, d)) {
            found = cur;
            return true;
        }
        if (!grid_->canStep(d, cur)) return false;
    }
}

bool AStarJPSPathFinder::jumpDiagonal(const Point& from, const Point& d, Point& found) {
    const Point alongX(d.x, 0);
    const Point alongY(0, d.y);
    const Point backX(static_cast<i16>(-d.x), 0);
    const Point backY(0, static_cast<i16>(-d.y));
    Point cur = from;
    while (true) {
        const Point next = cur + d;
        if (jumpPoints_.count(next) != 0) return false;
        cur = next;
        if (inGoalCell(cur) || forced(cur + alongX, alongY) || forced(cur + backX, alongY) ||
            forced(cur + alongY, alongX) || forced(cur + backY, alongX)) {
            found = cur;
            return true;
        }
        Point ignored;
        if (jumpStraight(cur, alongX, ignored) || jumpStraight(cur, alongY, ignored)) {
            found = cur;
            return true;
        }
        if (!grid_->canStep(d, cur)) return false;
    }
}

}  // namespace Zarn
