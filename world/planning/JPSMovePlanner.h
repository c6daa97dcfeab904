#pragma once

#include <memory>
#include <vector>

#include "foundation/Geometry.h"
#include "grid/AStarJPSPathFinder.h"

namespace Zarn {

class Arrival;
class CellGrid;
class CellHazards;
struct GameMap;
class PathedSteering;
class SteerableUnit;

// Decides how a unit walks to a requested point: straight there (an Arrival)
// when the unit and the target lie in one free rectangle of the room,
// otherwise along the jump points of a search (a PathedSteering). Made by the
// simulation's input handler for one request on the thread that owns the
// world, and dropped after planMove.
//
// Given the cells that kill (CellHazards), a walk never enters a cell that
// always kills: a target in one, or behind them, leaves the unit standing as
// an unreachable target does. Cells of running traps are walked round when
// the way round is at most kDetourFactor times as long as the shortest way
// over them; otherwise the walk crosses them and the player times it. The
// unit's own cell and the target's cell count as safe. Such a walk goes from
// cell middle to cell middle and ends at the exact target; a diagonal step
// passes between two cells that do not kill (it never cuts the corner of a
// killing cell), so a unit that turns up to kRadius early stays on safe
// cells. The straight Arrival is taken only when its line keeps a quarter
// cell clear of every killing cell.
class JPSMovePlanner {
public:
    // The unit, the grid, the maximal free rectangles (cell units, filled by
    // the map's grid section) and the hazards belong to the game (or the
    // caller) and outlive the planner. Without hazards, or with none in
    // danger, the planner walks as it would in a room without traps.
    JPSMovePlanner(SteerableUnit& unit, const CellGrid& grid,
                   const std::vector<GeometryLib::Rect>& rectangles, const CellHazards* hazards = nullptr);
    // Over the loaded map's grid and maximal rectangles.
    JPSMovePlanner(SteerableUnit& unit, const GameMap& map, const CellHazards* hazards = nullptr);
    ~JPSMovePlanner();

    JPSMovePlanner(const JPSMovePlanner&) = delete;
    JPSMovePlanner& operator=(const JPSMovePlanner&) = delete;

    // Replaces the unit's walk by one to target (map units). Units in a death
    // state and targets that are not finite are ignored; an unreachable target
    // leaves the unit standing.
    void planMove(const GeometryLib::FPoint& target);

    // Whether one maximal rectangle holds the cells of both points.
    bool straightClear(const GeometryLib::Point& a, const GeometryLib::Point& b) const;
    // The waypoints from `from` toward `to` through a predecessor map of a
    // search that ran from `to`: each predecessor in turn, ending with `to`,
    // stopping early at a point outside the room or in a blocked cell.
    std::vector<GeometryLib::FPoint> reconstructPath(const AStarPathFinder::PathMap& cameFrom,
                                                     const GeometryLib::Point& from,
                                                     const GeometryLib::Point& to) const;

    // The behaviours made by the last planMove that the unit's motion did not
    // take (it takes them while its `steerable` flag is set); null otherwise.
    const Arrival* getArrival() const { return arrival_.get(); }
    const PathedSteering* getPath() const { return path_.get(); }

    // Waypoint and slow radius of what the planner installs, map units.
    static constexpr float kRadius = 16.0f;
    // How much longer than the shortest walk over running traps a walk round
    // them may be.
    static constexpr float kDetourFactor = 2.0f;

private:
    void planAroundHazards(const GeometryLib::FPoint& position, const GeometryLib::FPoint& target);
    // The waypoints of a walk from the unit's position to the target that
    // enters no cell of at least the given danger (but the unit's and the
    // target's); empty when there is none. A walk toward a target in a wall
    // ends before the wall.
    std::vector<GeometryLib::FPoint> walkAvoiding(u8 danger, const GeometryLib::FPoint& position,
                                                  const GeometryLib::FPoint& target) const;
    // The same walk, ending at the target wherever it lies.
    std::vector<GeometryLib::FPoint> walkThrough(u8 danger, const GeometryLib::FPoint& position,
                                                 const GeometryLib::FPoint& target) const;
    // Whether the straight line from a to b passes within a quarter cell of
    // a cell in any danger other than a's and b's.
    bool lineNearHazard(const GeometryLib::FPoint& a, const GeometryLib::FPoint& b) const;
    void installArrival(const GeometryLib::FPoint& target);
    void installPath(std::vector<GeometryLib::FPoint> waypoints);

    // Owned by the unit manager; outlives the planner.
    SteerableUnit* unit_;
    // Owned by the loaded map; outlives the planner.
    const CellGrid* grid_;
    // Owned by the loaded map; outlives the planner.
    const std::vector<GeometryLib::Rect>* rectangles_;
    // Owned by the caller; outlives the planner. May be null.
    const CellHazards* hazards_;
    AStarJPSPathFinder finder_;
    std::unique_ptr<Arrival> arrival_;
    std::unique_ptr<PathedSteering> path_;
    float radius_ = kRadius;
    GeometryLib::Point target_;
};

}  // namespace Zarn
