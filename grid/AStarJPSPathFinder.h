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
    using PointSet = std::unordered_set<GeometryLib::Point, GeometryLib::PointHash>;

    // The grid belongs to the loaded map and outlives the finder.
    explicit AStarJPSPathFinder(const CellGrid& grid);
    ~AStarJPSPathFinder() override;

    void reset(const GeometryLib::Point& start, const GeometryLib::Point& goal) override;
    // The jump points reachable from node; each is also recorded as a jump
    // point of the search.
    std::vector<GeometryLib::Point> successors(const GeometryLib::Point& node) override;

    // Every jump point produced during the current search (a copy).
    PointSet getJumpPoints() const;

    // Scans in cell coordinates, along rows and columns a word of cells at a
    // time, where a node allows it (the default), or always point by point as
    // the scan rules are written; both give the same jump points. Takes
    // effect from the next search on. For tests that compare the two.
    void setCellScan(bool on) { cellScan_ = on; }

private:
    // The search in cell coordinates: a point of the search is
    // (cx * s + ox, cy * s + oy) for the start's offset (ox, oy) in its cell.
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
    // The cell of a node whose scans can run in cells: the search scans in
    // cells, and the node lies inside the cells with the start's offset.
    bool cellOfNode(const GeometryLib::Point& node, i32& x, i32& y) const;
    // The jump point from cell (x, y) by the unit step (ux, uy), as a cell.
    bool cellJump(i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy) const;
    // The position along the line (x for a row, y for a column) where the
    // straight scan from cell (x, y) by the unit step (ux, uy), one of them 0,
    // finds its jump point; -1 when it finds none.
    i32 cellStraight(i32 x, i32 y, i32 ux, i32 uy) const;
    bool cellDiagonal(i32 x, i32 y, i32 ux, i32 uy, i32& fx, i32& fy) const;

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
    // The cell of a point that lies inside the cells with the search's offset;
    // false for any other point.
    bool onSearchGrid(const GeometryLib::Point& p, u32& cx, u32& cy) const;
    // Sets the cell's bits and lists the cell, once.
    void markJumpCell(u32 cx, u32 cy);
    bool jumpCell(u32 cx, u32 cy) const {
        return (jumpRows_[static_cast<std::size_t>(cy) * rowWords_ + cx / 64] >> (cx % 64)) & 1u;
    }

    // The jump points of the search. A point inside the cells with the
    // start's offset in its cell (every point the search reaches inside the
    // room is the start plus whole cell steps, for cell sizes up to 32767) is
    // a bit of its cell, in the layouts of the grid's blocked bits (by rows
    // and by columns), and its cell is listed in jumpCellList_ for clearing on
    // reset. Any other point (a start outside the cells) is kept in
    // otherJumpPoints_.
    std::vector<u64> jumpRows_;
    std::vector<u64> jumpColumns_;
    u32 rowWords_ = 0;
    u32 columnWords_ = 0;
    std::vector<std::pair<u32, u32>> jumpCellList_;
    std::vector<GeometryLib::Point> otherJumpPoints_;
    // The start's offset in its cell, in [0, s).
    i32 offsetX_ = 0;
    i32 offsetY_ = 0;
    // The goal's cell as a half-open range of map units (empty when the goal
    // lies outside the room).
    i32 goalLowX_ = 0;
    i32 goalLowY_ = 0;
    i32 goalHighX_ = 0;
    i32 goalHighY_ = 0;
    // Valid while inCells_ holds: the scans of this search may run in cells.
    CellScan scan_{};
    bool inCells_ = false;
    i16 s_;
    bool cellScan_ = true;
};

}  // namespace Zarn
