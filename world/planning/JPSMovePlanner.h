#pragma once

#include <memory>
#include <vector>

#include "foundation/Geometry.h"
#include "grid/AStarJPSPathFinder.h"

namespace Zarn {

class Arrival;
class CellGrid;
struct GameMap;
class PathedSteering;
class SteerableUnit;

// Decides how a unit walks to a requested point: straight there (an Arrival)
// when the unit and the target lie in one free rectangle of the room,
// otherwise along the jump points of a search (a PathedSteering). Made by the
// simulation's input handler for one request on the thread that owns the
// world, and dropped after planMove.
class JPSMovePlanner {
public:
    // The unit, the grid and the maximal free rectangles (cell units, filled by
    // the map's grid section) belong to the game and outlive the planner.
    JPSMovePlanner(SteerableUnit& unit, const CellGrid& grid,
                   const std::vector<GeometryLib::Rect>& rectangles);
    // Over the loaded map's grid and maximal rectangles.
    JPSMovePlanner(SteerableUnit& unit, const GameMap& map);
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

private:
    // Owned by the unit manager; outlives the planner.
    SteerableUnit* unit_;
    // Owned by the loaded map; outlives the planner.
    const CellGrid* grid_;
    // Owned by the loaded map; outlives the planner.
    const std::vector<GeometryLib::Rect>* rectangles_;
    AStarJPSPathFinder finder_;
    std::unique_ptr<Arrival> arrival_;
    std::unique_ptr<PathedSteering> path_;
    float radius_ = kRadius;
    GeometryLib::Point target_;
};

}  // namespace Zarn
