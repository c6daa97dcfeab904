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
    bool inGoalCell(const GeometryLib::Point& p) const;

    std::unordered_set<GeometryLib::Point, GeometryLib::PointHash> jumpPoints_;
    std::vector<GeometryLib::Point> candidates_;
    i16 s_;
};

}  // namespace Zarn
