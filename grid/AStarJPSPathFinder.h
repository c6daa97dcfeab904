#pragma once

#include <unordered_set>
#include <vector>

#include "grid/AStarPathFinder.h"
#include "grid/CellGrid.h"

namespace Zarn {

// The A* loop with jump-point successors: from a node, each direction that the
// move into it leaves open is scanned until a jump point (a point with a forced
// neighbour, or the goal's cell) is met, and only jump points become nodes.
// Step costs between jump points are their truncated Euclidean distance. A
// scan that runs into a point that already is a jump point of this search ends
// without one: that point is searched from on its own.
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

    // Scans in cell coordinates where a node allows it (the default), or
    // always point by point as the scan rules are written; both give the same
    // jump points. For tests that compare the two.
    void setCellScan(bool on) { cellScan_ = on; }

private:
    // A scan from one node in cell coordinates: a point of the search is
    // (cx * s + ox, cy * s + oy) for the node's offset (ox, oy) in its cell.
    struct CellScan {
        const TileStatus* cells;
        u32 rows;
        // Cells a point of this offset can reach: inside the grid, and no
        // coordinate past 32767.
        u32 limitX;
        u32 limitY;
        i32 s;
        i32 ox;
        i32 oy;
        i32 x0;
        i32 y0;
        // The goal's cell; -1 when the goal lies outside the room.
        i32 goalX;
        i32 goalY;
        bool free(i32 x, i32 y) const {
            return static_cast<u32>(x) < limitX && static_cast<u32>(y) < limitY &&
                   cells[static_cast<std::size_t>(x) * rows + static_cast<u32>(y)] == 0;
        }
        bool canStep(i32 x, i32 y, i32 ux, i32 uy) const {
            return free(x + ux, y + uy) && (ux == 0 || uy == 0 || free(x + ux, y) || free(x, y + uy));
        }
        bool forced(i32 sideX, i32 sideY, i32 ux, i32 uy) const {
            return !free(sideX, sideY) && free(sideX + ux, sideY + uy);
        }
    };
    bool makeCellScan(const GeometryLib::Point& node, CellScan& scan) const;
    bool cellJump(const CellScan& scan, const GeometryLib::Point& direction, GeometryLib::Point& found);
    bool cellStraight(const CellScan& scan, i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy);
    bool cellDiagonal(const CellScan& scan, i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy);
    bool cellIsJumpPoint(const CellScan& scan, i32 x, i32 y) const;
    bool jumpPointAt(const CellScan& scan, i32 x, i32 y) const;

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
    // Index over jumpPoints_ for the scans, one byte a cell, zeroed again every
    // 255 searches: jumpCells_[cell] == generation_ when some jump point lies
    // in that cell (only then is the set asked).
    std::vector<u8> jumpCells_;
    u8 generation_ = 0;
    // The goal's cell as a half-open range of map units (empty when the goal
    // lies outside the room).
    i32 goalLowX_ = 0;
    i32 goalLowY_ = 0;
    i32 goalHighX_ = 0;
    i32 goalHighY_ = 0;
    i16 s_;
    bool cellScan_ = true;
};

}  // namespace Zarn
