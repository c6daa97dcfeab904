#include "world/planning/JPSMovePlanner.h"

#include <cmath>

#include "map/import/GameMap.h"
#include "grid/CellGrid.h"
#include "world/steering/Arrival.h"
#include "world/steering/PathedSteering.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

// Truncation toward zero to 32 bits, low 16 bits kept; values beyond the 32-bit
// range are clamped first (positions come from clients).
i16 truncate16(float v) {
    const double t = std::trunc(static_cast<double>(v));
    const double clamped = t < -2147483648.0 ? -2147483648.0 : (t > 2147483647.0 ? 2147483647.0 : t);
    return static_cast<i16>(static_cast<u16>(static_cast<u32>(static_cast<i32>(clamped))));
}

GeometryLib::Point pointOf(const GeometryLib::FPoint& p) {
    return GeometryLib::Point(truncate16(p.x), truncate16(p.y));
}

bool finite(const GeometryLib::FPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

JPSMovePlanner::JPSMovePlanner(SteerableUnit& unit, const CellGrid& grid,
                               const std::vector<GeometryLib::Rect>& rectangles)
    : unit_(&unit), grid_(&grid), rectangles_(&rectangles), finder_(grid) {}

JPSMovePlanner::JPSMovePlanner(SteerableUnit& unit, const GameMap& map)
    : JPSMovePlanner(unit, map.grid, map.maximalRectangles) {}

JPSMovePlanner::~JPSMovePlanner() = default;

void JPSMovePlanner::planMove(const GeometryLib::FPoint& target) {
    if (isDeathState(unit_->state)) return;
    const GeometryLib::FPoint position = unit_->body().position;
    if (!finite(target) || !finite(position)) return;
    unit_->motion.reset();
    const GeometryLib::Point start = pointOf(position);
    target_ = pointOf(target);

    if (straightClear(start, target_)) {
        arrival_ = std::make_unique<Arrival>(unit_, target, radius_);
        if (unit_->motion.steerable != 0) unit_->motion.addSteering(std::move(arrival_));
        return;
    }
    const AStarPathFinder::PathMap cameFrom = finder_.findPath(target_, start);
    if (cameFrom.empty()) return;
    std::vector<GeometryLib::FPoint> waypoints = reconstructPath(cameFrom, start, target_);
    if (waypoints.empty()) return;
    path_ = std::make_unique<PathedSteering>(unit_, std::move(waypoints), radius_);
    if (unit_->motion.steerable != 0) unit_->motion.addSteering(std::move(path_));
}

bool JPSMovePlanner::straightClear(const GeometryLib::Point& a, const GeometryLib::Point& b) const {
    const i64 s = grid_->getCellSize();
    // Points outside the room lie in no free rectangle.
    if (s == 0 || a.x < 0 || a.y < 0 || b.x < 0 || b.y < 0) return false;
    const i64 ax = a.x / s, ay = a.y / s, bx = b.x / s, by = b.y / s;
    auto holds = [](const GeometryLib::Rect& r, i64 x, i64 y) {
        return r.origin.x <= x && x < r.origin.x + static_cast<i64>(r.width) && r.origin.y <= y &&
               y < r.origin.y + static_cast<i64>(r.height);
    };
    for (const GeometryLib::Rect& r : *rectangles_) {
        if (holds(r, ax, ay) && holds(r, bx, by)) return true;
    }
    return false;
}

std::vector<GeometryLib::FPoint> JPSMovePlanner::reconstructPath(const AStarPathFinder::PathMap& cameFrom,
                                                                 const GeometryLib::Point& from,
                                                                 const GeometryLib::Point& to) const {
    std::vector<GeometryLib::FPoint> waypoints;
    GeometryLib::Point cur = from;
    // Each step takes one entry; more steps than entries would be a cycle.
    for (std::size_t steps = 0; steps <= cameFrom.size() && !(cur == to); ++steps) {
        const auto pred = cameFrom.find(cur);
        if (pred == cameFrom.end()) break;
        cur = pred->second;
        if (!grid_->isFree(cur)) break;
        waypoints.emplace_back(static_cast<float>(cur.x), static_cast<float>(cur.y));
    }
    return waypoints;
}

}  // namespace Zarn
