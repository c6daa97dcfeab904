#include "grid/AStarJPSPathFinder.h"

#include <algorithm>
#include <array>
#include <bit>

#include "grid/CellGrid.h"

namespace Zarn {
namespace {

// Point addition with 16-bit wrapping, inlined for the scans.
GeometryLib::Point plus(const GeometryLib::Point& a, const GeometryLib::Point& b) {
    return GeometryLib::Point(static_cast<i16>(a.x + b.x), static_cast<i16>(a.y + b.y));
}

// v mod s in [0, s) for s > 0.
i32 offsetIn(i32 v, i32 s) {
    const i32 r = v % s;
    return r < 0 ? r + s : r;
}

constexpr u64 kAllBits = ~u64{0};

// The blocked bits of a line that no scan can enter: every cell blocks. Long
// enough for the longest line (32768 cells).
constexpr std::array<u64, 512> kBlockedLine = [] {
    std::array<u64, 512> words{};
    for (u64& w : words) w = kAllBits;
    return words;
}();

// A straight scan along one row (or column) of cells, read 64 cells a word:
// bit i of word k is the cell at position 64k + i along the line.
struct LineScan {
    // Blocked bits of the line and of the lines on either side (kBlockedLine
    // for a side line that no scan of this offset can reach).
    const u64* line;
    const u64* side1;
    const u64* side2;
    // Jump-point cells of the line.
    const u64* jumps;
    // Positions from here on block: the grid's edge or the 16-bit limit.
    i32 end;
    // The goal cell's position on the line; -1 when the goal is not on it.
    i32 goal;
    // The position scanned from.
    i32 from;
    // The last word that holds positions before end, and the bits of that
    // word at end and past it.
    i32 lastWord = 0;
    u64 pastEnd = 0;

    void setEnd(i32 e) {
        end = e;
        lastWord = (e - 1) / 64;
        const i32 valid = e - lastWord * 64;
        pastEnd = valid < 64 ? kAllBits << valid : 0;
    }
    // Word k >= 0 of a line's blocked bits, positions from end on set.
    u64 blocked(const u64* bits, i32 k) const {
        return k < lastWord ? bits[k] : (k == lastWord ? bits[k] | pastEnd : kAllBits);
    }
    u64 goalBit(i32 k) const { return goal >= 0 && goal / 64 == k ? u64{1} << (goal % 64) : 0; }

    // Positions from + 1, from + 2, ... up to the first that blocks. At p a
    // side cell forces a jump point when it blocks and the side cell at p + 1
    // is free; a jump point met first ends the scan without one.
    i32 forward() const {
        const i32 first = from + 1;
        if (first < 0 || first >= end) return -1;
        i32 k = first / 64;
        u64 mask = kAllBits << (first % 64);
        while (k <= lastWord) {
            const u64 stop = blocked(line, k) & mask;
            const u64 s1 = blocked(side1, k);
            const u64 s2 = blocked(side2, k);
            const u64 next1 = (s1 >> 1) | (blocked(side1, k + 1) << 63);
            const u64 next2 = (s2 >> 1) | (blocked(side2, k + 1) << 63);
            const u64 jumpBits = jumps[k] & mask;
            u64 found = ((s1 & ~next1) | (s2 & ~next2) | goalBit(k)) & mask;
            // Only the positions before the first blocked one are reached.
            const u64 reached = stop != 0 ? (stop & (~stop + 1)) - 1 : kAllBits;
            const u64 firstJump = jumpBits & (~jumpBits + 1);
            // At one position a jump point counts before a forced neighbour.
            if (firstJump != 0 && (firstJump & reached) != 0 && (found & (firstJump - 1)) == 0) return -1;
            found &= reached;
            if (found != 0) return k * 64 + std::countr_zero(found);
            if (stop != 0) return -1;
            ++k;
            mask = kAllBits;
        }
        return -1;
    }

    // Positions from - 1, from - 2, ... down to the first that blocks; at p
    // the side cell at p - 1 must be free for a forced neighbour.
    i32 backward() const {
        const i32 first = from - 1;
        if (first < 0 || first >= end) return -1;
        i32 k = first / 64;
        // Positions up to first (a shift by 64 would be undefined).
        u64 mask = (u64{2} << (first % 64)) - 1;
        for (; k >= 0; --k, mask = kAllBits) {
            const u64 stop = blocked(line, k) & mask;
            const u64 s1 = blocked(side1, k);
            const u64 s2 = blocked(side2, k);
            const u64 previous1 = (s1 << 1) | (k > 0 ? blocked(side1, k - 1) >> 63 : 1);
            const u64 previous2 = (s2 << 1) | (k > 0 ? blocked(side2, k - 1) >> 63 : 1);
            const u64 jumpBits = jumps[k] & mask;
            u64 found = ((s1 & ~previous1) | (s2 & ~previous2) | goalBit(k)) & mask;
            // Only the positions after the last blocked one are reached.
            const u64 reached = stop != 0 ? ~((u64{2} << (63 - std::countl_zero(stop))) - 1) : kAllBits;
            const u64 lastJump = jumpBits != 0 ? u64{1} << (63 - std::countl_zero(jumpBits)) : 0;
            if ((lastJump & reached) != 0 && (found & ~((lastJump << 1) - 1)) == 0) return -1;
            found &= reached;
            if (found != 0) return k * 64 + 63 - std::countl_zero(found);
            if (stop != 0) return -1;
        }
        // Position -1 lies outside the room.
        return -1;
    }
};

}  // namespace

using GeometryLib::Point;

AStarJPSPathFinder::AStarJPSPathFinder(const CellGrid& grid)
    : AStarPathFinder(grid), s_(static_cast<i16>(grid.getCellSize())) {}

AStarJPSPathFinder::~AStarJPSPathFinder() = default;

void AStarJPSPathFinder::reset(const Point& start, const Point& goal) {
    AStarPathFinder::reset(start, goal);
    const std::size_t rowBits = static_cast<std::size_t>(grid_->getRows()) * grid_->getRowWords();
    const std::size_t columnBits = static_cast<std::size_t>(grid_->getColumns()) * grid_->getColumnWords();
    if (rowWords_ != grid_->getRowWords() || columnWords_ != grid_->getColumnWords() ||
        jumpRows_.size() != rowBits || jumpColumns_.size() != columnBits) {
        rowWords_ = grid_->getRowWords();
        columnWords_ = grid_->getColumnWords();
        jumpRows_.assign(rowBits, 0);
        jumpColumns_.assign(columnBits, 0);
    } else {
        // Every set bit belongs to a listed cell: clearing their words clears all.
        for (const auto& [cx, cy] : jumpCellList_) {
            jumpRows_[static_cast<std::size_t>(cy) * rowWords_ + cx / 64] = 0;
            jumpColumns_[static_cast<std::size_t>(cx) * columnWords_ + cy / 64] = 0;
        }
    }
    jumpCellList_.clear();
    otherJumpPoints_.clear();
    // An empty range for a goal outside the room: it is never reached.
    goalLowX_ = goalLowY_ = goalHighX_ = goalHighY_ = 0;
    offsetX_ = offsetY_ = 0;
    const i32 s = static_cast<i32>(std::min<u32>(grid_->getCellSize(), 0x7FFFFFFF));
    if (s > 0) {
        offsetX_ = offsetIn(start.x, s);
        offsetY_ = offsetIn(start.y, s);
    }
    if (s > 0 && goal.x >= 0 && goal.y >= 0) {
        goalLowX_ = goal.x / s * s;
        goalLowY_ = goal.y / s * s;
        goalHighX_ = goalLowX_ + s;
        goalHighY_ = goalLowY_ + s;
    }
    inCells_ = cellScan_ && s > 0 && s <= 0x7FFF;
    if (inCells_) {
        scan_.cells = grid_->cellData();
        scan_.rows = grid_->getRows();
        scan_.s = s;
        scan_.ox = offsetX_;
        scan_.oy = offsetY_;
        scan_.limitX = std::min<u32>(grid_->getColumns(), static_cast<u32>((0x7FFF - offsetX_) / s + 1));
        scan_.limitY = std::min<u32>(grid_->getRows(), static_cast<u32>((0x7FFF - offsetY_) / s + 1));
        scan_.goalX = goal.x >= 0 && goal.y >= 0 ? goal.x / s : -1;
        scan_.goalY = goal.x >= 0 && goal.y >= 0 ? goal.y / s : -1;
    }
}

AStarJPSPathFinder::PointSet AStarJPSPathFinder::getJumpPoints() const {
    PointSet points(otherJumpPoints_.begin(), otherJumpPoints_.end());
    const i32 s = static_cast<i32>(grid_->getCellSize());
    for (const auto& [cx, cy] : jumpCellList_) {
        points.insert(Point(static_cast<i16>(static_cast<i32>(cx) * s + offsetX_),
                            static_cast<i16>(static_cast<i32>(cy) * s + offsetY_)));
    }
    return points;
}

bool AStarJPSPathFinder::onSearchGrid(const Point& p, u32& cx, u32& cy) const {
    const u32 s = grid_->getCellSize();
    if (p.x < 0 || p.y < 0 || s == 0) return false;
    cx = grid_->cellOf(static_cast<u32>(p.x));
    cy = grid_->cellOf(static_cast<u32>(p.y));
    return cx < grid_->getColumns() && cy < grid_->getRows() &&
           static_cast<i64>(p.x) - i64{cx} * s == offsetX_ && static_cast<i64>(p.y) - i64{cy} * s == offsetY_;
}

void AStarJPSPathFinder::markJumpCell(u32 cx, u32 cy) {
    u64& rowWord = jumpRows_[static_cast<std::size_t>(cy) * rowWords_ + cx / 64];
    const u64 rowBit = u64{1} << (cx % 64);
    if ((rowWord & rowBit) != 0) return;
    rowWord |= rowBit;
    jumpColumns_[static_cast<std::size_t>(cx) * columnWords_ + cy / 64] |= u64{1} << (cy % 64);
    jumpCellList_.emplace_back(cx, cy);
}

bool AStarJPSPathFinder::isJumpPoint(const Point& p) const {
    u32 cx = 0;
    u32 cy = 0;
    if (onSearchGrid(p, cx, cy)) return jumpCell(cx, cy);
    return std::find(otherJumpPoints_.begin(), otherJumpPoints_.end(), p) != otherJumpPoints_.end();
}

void AStarJPSPathFinder::addJumpPoint(const Point& p) {
    u32 cx = 0;
    u32 cy = 0;
    if (onSearchGrid(p, cx, cy)) {
        markJumpCell(cx, cy);
    } else if (std::find(otherJumpPoints_.begin(), otherJumpPoints_.end(), p) == otherJumpPoints_.end()) {
        otherJumpPoints_.push_back(p);
    }
}

std::vector<Point> AStarJPSPathFinder::successors(const Point& node) {
    const auto parentEntry = cameFrom_.find(node);
    const Point parent = parentEntry == cameFrom_.end() ? node : parentEntry->second;
    const Point d = node - parent;
    // The directions to scan, as multiples of the cell size on each axis.
    const i32 dx = d.x > 0 ? 1 : (d.x < 0 ? -1 : 0);
    const i32 dy = d.y > 0 ? 1 : (d.y < 0 ? -1 : 0);
    std::array<std::pair<i32, i32>, 8> candidates;
    std::size_t count = 0;
    std::vector<Point> result;
    if (grid_->sameCell(node, goal_)) {
        result.push_back(node);
    } else if (dx == 0 && dy == 0) {
        // The grid's offsets, in their order.
        candidates = {{{-1, 0}, {0, 1}, {1, 0}, {0, -1}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}}};
        count = 8;
    } else if (dx == 0) {
        candidates = {{{0, dy}, {1, dy}, {-1, dy}}};
        count = 3;
    } else if (dy == 0) {
        candidates = {{{dx, 0}, {dx, 1}, {dx, -1}}};
        count = 3;
    } else {
        candidates = {{{dx, dy}, {dx, 0}, {0, dy}, {dx, -dy}, {-dx, dy}}};
        count = 5;
    }
    result.reserve(count);
    i32 x0 = 0;
    i32 y0 = 0;
    if (count != 0 && cellOfNode(node, x0, y0)) {
        // The jump points found by this node are recorded only after all its
        // scans, as the point scans do.
        std::array<std::pair<i32, i32>, 8> cells;
        std::size_t found = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const auto [ux, uy] = candidates[k];
            if (!scan_.free(x0 + ux, y0) && !scan_.free(x0, y0 + uy)) continue;
            i32 fx = x0;
            i32 fy = y0;
            if (!cellJump(x0, y0, ux, uy, fx, fy)) continue;
            if (std::find(cells.begin(), cells.begin() + found, std::pair<i32, i32>(fx, fy)) !=
                cells.begin() + found) {
                continue;
            }
            cells[found++] = {fx, fy};
            result.emplace_back(static_cast<i16>(fx * scan_.s + scan_.ox),
                                static_cast<i16>(fy * scan_.s + scan_.oy));
        }
        for (std::size_t k = 0; k < found; ++k) {
            markJumpCell(static_cast<u32>(cells[k].first), static_cast<u32>(cells[k].second));
        }
        return result;
    }
    for (std::size_t k = 0; k < count; ++k) {
        const Point c(static_cast<i16>(candidates[k].first * s_),
                      static_cast<i16>(candidates[k].second * s_));
        const Point sideX = plus(node, Point(c.x, 0));
        const Point sideY = plus(node, Point(0, c.y));
        if (!grid_->isFree(sideX) && !grid_->isFree(sideY)) continue;
        Point found;
        if (!jump(node, c, found)) continue;
        if (std::find(result.begin(), result.end(), found) == result.end()) result.push_back(found);
    }
    for (const Point& p : result) addJumpPoint(p);
    return result;
}

bool AStarJPSPathFinder::cellOfNode(const Point& node, i32& x, i32& y) const {
    if (!inCells_ || node.x < 0 || node.y < 0) return false;
    x = static_cast<i32>(grid_->cellOf(static_cast<u32>(node.x)));
    y = static_cast<i32>(grid_->cellOf(static_cast<u32>(node.y)));
    return node.x - x * scan_.s == scan_.ox && node.y - y * scan_.s == scan_.oy;
}

bool AStarJPSPathFinder::cellJump(i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy) const {
    if (ux != 0 && uy != 0) return scan_.canStep(x, y, ux, uy) && cellDiagonal(x, y, ux, uy, fx, fy);
    const i32 at = cellStraight(x, y, ux, uy);
    (ux != 0 ? fx : fy) = at;
    return at >= 0;
}

i32 AStarJPSPathFinder::cellStraight(i32 x, i32 y, i32 ux, i32 uy) const {
    // Along row y, between the rows above and below, or along column x,
    // between the columns beside it.
    const bool row = uy == 0;
    const i32 across = row ? y : x;
    const u32 acrossLimit = row ? scan_.limitY : scan_.limitX;
    if (static_cast<u32>(across) >= acrossLimit) return -1;
    const auto bits = [&](i32 i) {
        if (static_cast<u32>(i) >= acrossLimit) return kBlockedLine.data();
        return row ? grid_->blockedRow(static_cast<u32>(i)) : grid_->blockedColumn(static_cast<u32>(i));
    };
    LineScan line;
    line.line = bits(across);
    line.side1 = bits(across + 1);
    line.side2 = bits(across - 1);
    line.jumps = row ? jumpRows_.data() + static_cast<std::size_t>(y) * rowWords_
                     : jumpColumns_.data() + static_cast<std::size_t>(x) * columnWords_;
    line.setEnd(static_cast<i32>(row ? scan_.limitX : scan_.limitY));
    line.goal = across == (row ? scan_.goalY : scan_.goalX) ? (row ? scan_.goalX : scan_.goalY) : -1;
    line.from = row ? x : y;
    return ux + uy > 0 ? line.forward() : line.backward();
}

bool AStarJPSPathFinder::cellDiagonal(i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy) const {
    const CellScan& scan = scan_;
    while (true) {
        x += ux;
        y += uy;
        // A diagonal step lands on a free cell, so inside the grid.
        if (jumpCell(static_cast<u32>(x), static_cast<u32>(y))) return false;
        if ((x == scan.goalX && y == scan.goalY) || scan.forced(x + ux, y, 0, uy) ||
            scan.forced(x - ux, y, 0, uy) || scan.forced(x, y + uy, ux, 0) || scan.forced(x, y - uy, ux, 0) ||
            cellStraight(x, y, ux, 0) >= 0 || cellStraight(x, y, 0, uy) >= 0) {
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
