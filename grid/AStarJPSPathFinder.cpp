#include "grid/AStarJPSPathFinder.h"

#include <algorithm>
#include <array>

#include "grid/CellGrid.h"

namespace Zarn {
namespace {

i16 signStep(i32 d, i16 s) {
    return d > 0 ? s : (d < 0 ? static_cast<i16>(-s) : static_cast<i16>(0));
}

// Point addition with 16-bit wrapping, inlined for the scans.
GeometryLib::Point plus(const GeometryLib::Point& a, const GeometryLib::Point& b) {
    return GeometryLib::Point(static_cast<i16>(a.x + b.x), static_cast<i16>(a.y + b.y));
}

}  // namespace

using GeometryLib::Point;

AStarJPSPathFinder::AStarJPSPathFinder(const CellGrid& grid)
    : AStarPathFinder(grid), s_(static_cast<i16>(grid.getCellSize())) {}

AStarJPSPathFinder::~AStarJPSPathFinder() = default;

void AStarJPSPathFinder::reset(const Point& start, const Point& goal) {
    AStarPathFinder::reset(start, goal);
    jumpPoints_.clear();
    const std::size_t cells = static_cast<std::size_t>(grid_->getColumns()) * grid_->getRows();
    if (jumpCells_.size() != cells || ++generation_ == 0) {
        jumpCells_.assign(cells, 0);
        generation_ = 1;
    }
    // An empty range for a goal outside the room: it is never reached.
    goalLowX_ = goalLowY_ = goalHighX_ = goalHighY_ = 0;
    const i32 s = static_cast<i32>(std::min<u32>(grid_->getCellSize(), 0x7FFFFFFF));
    if (s > 0 && goal.x >= 0 && goal.y >= 0) {
        goalLowX_ = goal.x / s * s;
        goalLowY_ = goal.y / s * s;
        goalHighX_ = goalLowX_ + s;
        goalHighY_ = goalLowY_ + s;
    }
}

bool AStarJPSPathFinder::isJumpPoint(const Point& p) const {
    if (p.x >= 0 && p.y >= 0) {
        const u32 s = grid_->getCellSize();
        const u32 cx = grid_->cellOf(static_cast<u32>(p.x));
        const u32 cy = grid_->cellOf(static_cast<u32>(p.y));
        if (s > 0 && cx < grid_->getColumns() && cy < grid_->getRows() &&
            jumpCells_[static_cast<std::size_t>(cx) * grid_->getRows() + cy] != generation_) {
            return false;
        }
    }
    return jumpPoints_.count(p) != 0;
}

void AStarJPSPathFinder::addJumpPoint(const Point& p) {
    jumpPoints_.insert(p);
    if (p.x < 0 || p.y < 0) return;
    const u32 s = grid_->getCellSize();
    if (s == 0) return;
    const u32 cx = static_cast<u32>(p.x) / s;
    const u32 cy = static_cast<u32>(p.y) / s;
    if (cx < grid_->getColumns() && cy < grid_->getRows()) {
        jumpCells_[static_cast<std::size_t>(cx) * grid_->getRows() + cy] = generation_;
    }
}

std::vector<Point> AStarJPSPathFinder::successors(const Point& node) {
    const auto parentEntry = cameFrom_.find(node);
    const Point parent = parentEntry == cameFrom_.end() ? node : parentEntry->second;
    const Point d = node - parent;
    const i16 dx = signStep(d.x, s_);
    const i16 dy = signStep(d.y, s_);
    std::vector<Point> result;
    if (grid_->sameCell(node, goal_)) {
        result.push_back(node);
    } else {
        const i16 m = static_cast<i16>(-s_);
        std::array<Point, 8> candidates;
        std::size_t count = 0;
        if (dx == 0 && dy == 0) {
            for (const Point& d : directions_) candidates[count++] = d;
        } else if (dx == 0) {
            candidates = {Point(0, dy), Point(s_, dy), Point(m, dy)};
            count = 3;
        } else if (dy == 0) {
            candidates = {Point(dx, 0), Point(dx, s_), Point(dx, m)};
            count = 3;
        } else {
            candidates = {Point(dx, dy), Point(dx, 0), Point(0, dy), Point(dx, static_cast<i16>(-dy)),
                          Point(static_cast<i16>(-dx), dy)};
            count = 5;
        }
        CellScan scan;
        const bool inCells = cellScan_ && makeCellScan(node, scan);
        for (std::size_t k = 0; k < count; ++k) {
            const Point& c = candidates[k];
            const Point sideX = plus(node, Point(c.x, 0));
            const Point sideY = plus(node, Point(0, c.y));
            if (!grid_->isFree(sideX) && !grid_->isFree(sideY)) continue;
            Point found;
            if (!(inCells ? cellJump(scan, c, found) : jump(node, c, found))) continue;
            if (std::find(result.begin(), result.end(), found) == result.end()) result.push_back(found);
        }
    }
    for (const Point& p : result) addJumpPoint(p);
    return result;
}

bool AStarJPSPathFinder::makeCellScan(const Point& node, CellScan& scan) const {
    const u32 size = grid_->getCellSize();
    if (size == 0 || size > 0x7FFF || node.x < 0 || node.y < 0) return false;
    const i32 s = static_cast<i32>(size);
    scan.cells = grid_->cellData();
    scan.rows = grid_->getRows();
    scan.s = s;
    scan.x0 = node.x / s;
    scan.y0 = node.y / s;
    scan.ox = node.x - scan.x0 * s;
    scan.oy = node.y - scan.y0 * s;
    scan.limitX = std::min<u32>(grid_->getColumns(), static_cast<u32>((0x7FFF - scan.ox) / s + 1));
    scan.limitY = std::min<u32>(grid_->getRows(), static_cast<u32>((0x7FFF - scan.oy) / s + 1));
    scan.goalX = goal_.x >= 0 && goal_.y >= 0 ? goal_.x / s : -1;
    scan.goalY = goal_.x >= 0 && goal_.y >= 0 ? goal_.y / s : -1;
    return true;
}

inline bool AStarJPSPathFinder::cellIsJumpPoint(const CellScan& scan, i32 x, i32 y) const {
    // Only cells a scan has stepped onto (free, so inside the grid) are asked.
    if (jumpCells_[static_cast<std::size_t>(x) * scan.rows + static_cast<u32>(y)] != generation_) [[likely]] {
        return false;
    }
    return jumpPointAt(scan, x, y);
}

bool AStarJPSPathFinder::jumpPointAt(const CellScan& scan, i32 x, i32 y) const {
    return jumpPoints_.count(
               Point(static_cast<i16>(x * scan.s + scan.ox), static_cast<i16>(y * scan.s + scan.oy))) != 0;
}

bool AStarJPSPathFinder::cellJump(const CellScan& scan, const Point& direction, Point& found) {
    const i32 ux = direction.x > 0 ? 1 : (direction.x < 0 ? -1 : 0);
    const i32 uy = direction.y > 0 ? 1 : (direction.y < 0 ? -1 : 0);
    i32 fx = 0;
    i32 fy = 0;
    bool ok = false;
    if (ux != 0 && uy != 0) {
        ok = scan.canStep(scan.x0, scan.y0, ux, uy) && cellDiagonal(scan, scan.x0, scan.y0, ux, uy, fx, fy);
    } else {
        ok = cellStraight(scan, scan.x0, scan.y0, ux, uy, fx, fy);
    }
    if (ok) found = Point(static_cast<i16>(fx * scan.s + scan.ox), static_cast<i16>(fy * scan.s + scan.oy));
    return ok;
}

bool AStarJPSPathFinder::cellStraight(const CellScan& scan, i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy) {
    if (!scan.free(x + ux, y + uy)) return false;
    while (true) {
        x += ux;
        y += uy;
        if (cellIsJumpPoint(scan, x, y)) return false;
        if ((x == scan.goalX && y == scan.goalY) || scan.forced(x + uy, y + ux, ux, uy) ||
            scan.forced(x - uy, y - ux, ux, uy)) {
            fx = x;
            fy = y;
            return true;
        }
        if (!scan.free(x + ux, y + uy)) return false;
    }
}

bool AStarJPSPathFinder::cellDiagonal(const CellScan& scan, i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy) {
    while (true) {
        x += ux;
        y += uy;
        if (cellIsJumpPoint(scan, x, y)) return false;
        i32 ignoredX = 0;
        i32 ignoredY = 0;
        if ((x == scan.goalX && y == scan.goalY) || scan.forced(x + ux, y, 0, uy) ||
            scan.forced(x - ux, y, 0, uy) || scan.forced(x, y + uy, ux, 0) || scan.forced(x, y - uy, ux, 0) ||
            cellStraight(scan, x, y, ux, 0, ignoredX, ignoredY) ||
            cellStraight(scan, x, y, 0, uy, ignoredX, ignoredY)) {
            fx = x;
            fy = y;
            return true;
        }
        if (!scan.canStep(x, y, ux, uy)) return false;
    }
}

bool AStarJPSPathFinder::jump(const Point& from, const Point& direction, Point& found) {
    if (direction.x != 0 && direction.y != 0) {
        if (!grid_->canStep(direction, from)) return false;
        return jumpDiagonal(from, direction, found);
    }
    return jumpStraight(from, direction, found);
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
        const Point next = plus(cur, d);
        if (isJumpPoint(next)) return false;
        cur = next;
        if (inGoalCell(cur) || forced(plus(cur, q1), d) || forced(plus(cur, q2), d)) {
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
        const Point next = plus(cur, d);
        if (isJumpPoint(next)) return false;
        cur = next;
        if (inGoalCell(cur) || forced(plus(cur, alongX), alongY) || forced(plus(cur, backX), alongY) ||
            forced(plus(cur, alongY), alongX) || forced(plus(cur, backY), alongX)) {
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
