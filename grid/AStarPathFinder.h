#pragma once

#include <unordered_map>
#include <vector>

#include "foundation/Geometry.h"

namespace Zarn {

class CellGrid;

// A* over the cell grid between two points of a room (map units). Nodes are
// points, not cells: every node is the start plus whole cell steps on each
// axis. Steps are the grid's 8 neighbour offsets (canStep decides); a step
// costs its Euclidean length truncated to an integer (16 straight, 22
// diagonal for cells of 16); the estimate is the Manhattan distance to the
// goal. There is no closed set: a node is expanded again only when it is
// reached more cheaply.
//
// reset and successors are the seams through which the jump-point finder
// turns the same loop into a jump-point search. One finder serves one thread.
class AStarPathFinder {
public:
    // Node -> the node it was reached from; the start maps to itself.
    using PathMap = std::unordered_map<GeometryLib::Point, GeometryLib::Point, GeometryLib::PointHash>;

    // The grid belongs to the loaded map and outlives the finder.
    explicit AStarPathFinder(const CellGrid& grid);
    virtual ~AStarPathFinder();

    AStarPathFinder(const AStarPathFinder&) = delete;
    AStarPathFinder& operator=(const AStarPathFinder&) = delete;

    // Clears the last search and seeds the start.
    virtual void reset(const GeometryLib::Point& start, const GeometryLib::Point& goal);
    // The nodes reachable in one step from node, in the grid's offset order.
    virtual std::vector<GeometryLib::Point> successors(const GeometryLib::Point& node);

    // Searches from start until a node in the goal's cell is taken from the
    // open list. The result holds the goal as a key when a path exists; read it
    // backwards from the goal through the predecessors to the start (the goal
    // maps to the predecessor of the node that reached its cell). Unreachable
    // goals, goals outside the room included, give a map without the goal.
    PathMap findPath(const GeometryLib::Point& start, const GeometryLib::Point& goal);

    // Best known cost of a node in the last search; -1 when it was not reached.
    i64 costOf(const GeometryLib::Point& node) const;

protected:
    PathMap cameFrom_;
    GeometryLib::Point goal_;
    // Owned by the loaded map; outlives the finder.
    const CellGrid* grid_;
    std::vector<GeometryLib::Point> directions_;
    u32 step_ = 1;

private:
    struct OpenEntry {
        u32 priority;
        GeometryLib::Point node;
    };
    void pushOpen(const OpenEntry& entry);
    OpenEntry popOpen();

    std::unordered_map<GeometryLib::Point, u32, GeometryLib::PointHash> cost_;
    // Binary min-heap on priority.
    std::vector<OpenEntry> open_;
};

}  // namespace Zarn
