#include "grid/AStarPathFinder.h"

#include <cmath>
#include <cstdlib>

#include "grid/CellGrid.h"

namespace Zarn {
namespace {

u32 stepCost(const GeometryLib::Point& a, const GeometryLib::Point& b) {
    const double dx = static_cast<double>(static_cast<i32>(a.x) - b.x);
    const double dy = static_cast<double>(static_cast<i32>(a.y) - b.y);
    return static_cast<u32>(std::sqrt(dx * dx + dy * dy));
}

u32 manhattan(const GeometryLib::Point& a, const GeometryLib::Point& b) {
    return static_cast<u32>(std::abs(static_cast<i32>(a.x) - b.x) + std::abs(static_cast<i32>(a.y) - b.y));
}

}  // namespace

AStarPathFinder::AStarPathFinder(const CellGrid& grid)
    : grid_(&grid), directions_(grid.neighbourOffsets()), step_(grid.getCellSize()) {}

AStarPathFinder::~AStarPathFinder() = default;

void AStarPathFinder::reset(const GeometryLib::Point& start, const GeometryLib::Point& goalPoint) {
    goal_ = goalPoint;
    cameFrom_.clear();
    cost_.clear();
    cameFrom_[start] = start;
    cost_[start] = 0;
}

std::vector<GeometryLib::Point> AStarPathFinder::successors(const GeometryLib::Point& node) {
    std::vector<GeometryLib::Point> next;
    next.reserve(directions_.size());
    for (const GeometryLib::Point& d : directions_) {
        if (grid_->canStep(d, node)) next.push_back(node + d);
    }
    return next;
}

AStarPathFinder::PathMap AStarPathFinder::findPath(const GeometryLib::Point& start,
                                                   const GeometryLib::Point& goalPoint) {
    reset(start, goalPoint);
    open_.clear();
    pushOpen({0, start});
    while (!open_.empty()) {
        const GeometryLib::Point current = popOpen().node;
        if (grid_->sameCell(current, goal_)) {
            const GeometryLib::Point pred = cameFrom_[current];
            cameFrom_.erase(current);
            cameFrom_[goal_] = pred;
            break;
        }
        const u32 currentCost = cost_[current];
        for (const GeometryLib::Point& next : successors(current)) {
            const u32 g = currentCost + stepCost(next, current);
            const auto known = cost_.find(next);
            if (known != cost_.end() && g >= known->second) continue;
            cost_[next] = g;
            pushOpen({manhattan(next, goal_) + g, next});
            cameFrom_[next] = current;
        }
    }
    return cameFrom_;
}

i64 AStarPathFinder::costOf(const GeometryLib::Point& node) const {
    const auto it = cost_.find(node);
    return it == cost_.end() ? -1 : static_cast<i64>(it->second);
}

void AStarPathFinder::pushOpen(const OpenEntry& entry) {
    open_.push_back(entry);
    std::size_t i = open_.size() - 1;
    while (i > 0) {
        const std::size_t parent = (i - 1) / 2;
        if (open_[parent].priority <= open_[i].priority) break;
        std::swap(open_[parent], open_[i]);
        i = parent;
    }
}

AStarPathFinder::OpenEntry AStarPathFinder::popOpen() {
    const OpenEntry top = open_.front();
    open_.front() = open_.back();
    open_.pop_back();
    std::size_t i = 0;
    const std::size_t n = open_.size();
    while (true) {
        const std::size_t left = 2 * i + 1;
        const std::size_t right = left + 1;
        if (left >= n) break;
        // The right child unless its priority is greater than the left one's.
        const std::size_t child = (right < n && open_[right].priority <= open_[left].priority) ? right : left;
        if (open_[child].priority >= open_[i].priority) break;
        std::swap(open_[child], open_[i]);
        i = child;
    }
    return top;
}

}  // namespace Zarn
