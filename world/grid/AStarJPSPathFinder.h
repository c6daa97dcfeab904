#pragma once

#include <unordered_set>
#include <vector>

#include "world/grid/AStarPathFinder.h"

namespace Zarn {

// The A* loop with jump-point successors: from a node, each direction that the
// move into it leaves open is scanned until a jump point (a point with a forced
// neighbour, or the goal's cell) is met, and only jump points become nodes.
// Step costs between jump points are their truncated Euclidean distance.
class AStarJPSPathFinder : public AStarPathFinder {
public:
    // The grid belongs to the loaded map and outlives the finder.
    explicit AStarJPSPathFinder(const CellGrid& grid);
    ~AStarJPSPathFinder() override;

    void reset(const GeometryLib::Point& start, const GeometryLib::Point& goal) override;
    // The jump points reachable from node; each is also recorded in jumpPoints.
    std::vector<GeometryLib::Point> successors(const GeometryLib::Point& node) override;

    // Every jump point produced during the current search.
    const std::unordered_set<GeometryLib::Point, GeometryLib::PointHash>& getJumpPoints() const {
        return jumpPoints_;
    }

private:
    bool jump(const GeometryLib::Point& from, const GeometryLib::Point& direction, GeometryLib::Point& found);
    bool jumpStraight(const GeometryLib::Point& from, const GeometryLib::Point& direction,
                      GeometryLib::Point& found);
    bool jumpDiagonal(const GeometryLib::Point& from, const GeometryLib::Point& direction,
                      GeometryLib::Point& found);
    // Outside the room or not free, and a step by direction from it is allowed.
    bool forced(const GeometryLib::Point& side, const GeometryLib::Point& direction) const;
    // For points inside the room (scan positions): in the goal's cell.
    bool inGoalCell(const GeometryLib::Point& p) const {
        return p.x >= goalLowX_ && p.x < goalHighX_ && p.y >= goalLowY_ && p.y < goalHighY_;
    }
    bool isJumpPoint(const GeometryLib::Point& p) const;
    void addJumpPoint(const GeometryLib::Point& p);

    std::unordered_set<GeometryLib::Point, GeometryLib::PointHash> jumpPoints_;
    // Index over jumpPoints_ for the scans: jumpCells_[cell] == generation_
    // when some jump point lies in that cell (only then is the set asked).
    std::vector<u32> jumpCells_;
    u32 generation_ = 0;
    // The goal's cell as a half-open range of map units (empty when the goal
    // lies outside the room).
    i32 goalLowX_ = 0;
    i32 goalLowY_ = 0;
    i32 goalHighX_ = 0;
    i32 goalHighY_ = 0;
    i16 s_;
};

}  // namespace Zarn
