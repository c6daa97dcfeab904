#include "world/planning/JPSMovePlanner.h"

#include <algorithm>
#include <cmath>

#include "grid/CellGrid.h"
#include "map/import/GameMap.h"
#include "world/planning/CellHazards.h"
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

struct Cell {
    i32 x;
    i32 y;
    bool operator==(const Cell&) const = default;
};

i32 sign(i32 v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

float walkLength(const GeometryLib::FPoint& from, const std::vector<GeometryLib::FPoint>& waypoints) {
    float length = 0.0f;
    GeometryLib::FPoint at = from;
    for (const GeometryLib::FPoint& next : waypoints) {
        length += std::hypot(next.x - at.x, next.y - at.y);
        at = next;
    }
    return length;
}

// Whether the segment a-b meets the closed box [lowX, highX] x [lowY, highY].
bool segmentMeetsBox(const GeometryLib::FPoint& a, const GeometryLib::FPoint& b, float lowX, float lowY,
                     float highX, float highY) {
    float enter = 0.0f;
    float leave = 1.0f;
    const float d[2] = {b.x - a.x, b.y - a.y};
    const float from[2] = {a.x, a.y};
    const float low[2] = {lowX, lowY};
    const float high[2] = {highX, highY};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0.0f) {
            if (from[axis] < low[axis] || from[axis] > high[axis]) return false;
            continue;
        }
        float t0 = (low[axis] - from[axis]) / d[axis];
        float t1 = (high[axis] - from[axis]) / d[axis];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave) return false;
    }
    return true;
}

}  // namespace

JPSMovePlanner::JPSMovePlanner(SteerableUnit& unit, const CellGrid& grid,
                               const std::vector<GeometryLib::Rect>& rectangles, const CellHazards* hazards)
    : unit_(&unit), grid_(&grid), rectangles_(&rectangles), hazards_(hazards), finder_(grid) {}

JPSMovePlanner::JPSMovePlanner(SteerableUnit& unit, const GameMap& map, const CellHazards* hazards)
    : JPSMovePlanner(unit, map.grid, map.maximalRectangles, hazards) {}

JPSMovePlanner::~JPSMovePlanner() = default;

void JPSMovePlanner::planMove(const GeometryLib::FPoint& target) {
    if (isDeathState(unit_->state)) return;
    const GeometryLib::FPoint position = unit_->body().position;
    if (!finite(target) || !finite(position)) return;
    unit_->motion.reset();
    const GeometryLib::Point start = pointOf(position);
    target_ = pointOf(target);

    if (hazards_ != nullptr && hazards_->any()) {
        planAroundHazards(position, target);
        return;
    }
    if (straightClear(start, target_)) {
        installArrival(target);
        return;
    }
    const AStarPathFinder::PathMap cameFrom = finder_.findPath(target_, start);
    if (cameFrom.empty()) return;
    std::vector<GeometryLib::FPoint> waypoints = reconstructPath(cameFrom, start, target_);
    if (waypoints.empty()) return;
    installPath(std::move(waypoints));
}

void JPSMovePlanner::installArrival(const GeometryLib::FPoint& target) {
    arrival_ = std::make_unique<Arrival>(unit_, target, radius_);
    if (unit_->motion.steerable != 0) unit_->motion.addSteering(std::move(arrival_));
}

void JPSMovePlanner::installPath(std::vector<GeometryLib::FPoint> waypoints) {
    path_ = std::make_unique<PathedSteering>(unit_, std::move(waypoints), radius_);
    if (unit_->motion.steerable != 0) unit_->motion.addSteering(std::move(path_));
}

void JPSMovePlanner::planAroundHazards(const GeometryLib::FPoint& position,
                                       const GeometryLib::FPoint& target) {
    const MapProperties& room = grid_->getProperties();
    // A target outside the room is never reached.
    if (target_.x < 0 || target_.y < 0 || static_cast<u32>(target_.x) >= room.width ||
        static_cast<u32>(target_.y) >= room.height)
        return;
    const GeometryLib::Point cell = grid_->toCell(target_);
    if (hazards_->at(cell.x, cell.y) == CellHazards::Danger::always) return;
    if (straightClear(pointOf(position), target_) && !lineNearHazard(position, target)) {
        installArrival(target);
        return;
    }
    std::vector<GeometryLib::FPoint> safe =
        walkAvoiding(static_cast<u8>(CellHazards::Danger::sometimes), position, target);
    // No walk is shorter than the straight line: a safe walk within the
    // detour factor of it needs no comparison.
    const float straight = std::hypot(target.x - position.x, target.y - position.y);
    if (!safe.empty() &&
        (!hazards_->anySometimes() || walkLength(position, safe) <= kDetourFactor * straight)) {
        installPath(std::move(safe));
        return;
    }
    std::vector<GeometryLib::FPoint> over =
        walkAvoiding(static_cast<u8>(CellHazards::Danger::always), position, target);
    if (!safe.empty() &&
        (over.empty() || walkLength(position, safe) <= kDetourFactor * walkLength(position, over))) {
        installPath(std::move(safe));
    } else if (!over.empty()) {
        installPath(std::move(over));
    }
}

std::vector<GeometryLib::FPoint> JPSMovePlanner::walkAvoiding(u8 danger, const GeometryLib::FPoint& position,
                                                              const GeometryLib::FPoint& target) const {
    std::vector<GeometryLib::FPoint> waypoints = walkThrough(danger, position, target);
    // A target in a wall is walked toward as far as the last cell before it.
    if (!waypoints.empty() && !grid_->isFree(target_)) waypoints.pop_back();
    return waypoints;
}

std::vector<GeometryLib::FPoint> JPSMovePlanner::walkThrough(u8 danger, const GeometryLib::FPoint& position,
                                                             const GeometryLib::FPoint& target) const {
    const i32 s = static_cast<i32>(grid_->getCellSize());
    const GeometryLib::Point start = pointOf(position);
    const GeometryLib::Point startPoint = grid_->toCell(start);
    const GeometryLib::Point targetPoint = grid_->toCell(target_);
    const Cell from{startPoint.x, startPoint.y};
    const Cell to{targetPoint.x, targetPoint.y};
    auto avoided = [&](const Cell& c) {
        return !(c == from) && !(c == to) && static_cast<u8>(hazards_->at(c.x, c.y)) >= danger;
    };

    // The room with the avoided cells made solid.
    CellGrid room = *grid_;
    for (const GeometryLib::Point& cell : hazards_->dangerous()) {
        if (avoided(Cell{cell.x, cell.y}))
            room.setCellStatus(static_cast<u32>(cell.x), static_cast<u32>(cell.y), 1);
    }
    auto centre = [s](const Cell& c) {
        return GeometryLib::Point(static_cast<i16>(c.x * s + s / 2), static_cast<i16>(c.y * s + s / 2));
    };
    // Searched from the middle of the target's cell, so that every jump point
    // is a cell middle.
    const GeometryLib::Point middle = centre(to);
    AStarJPSPathFinder finder(room);
    const AStarPathFinder::PathMap cameFrom = finder.findPath(middle, start);

    // The cells of the jump points from the unit's cell to the target's.
    std::vector<Cell> cells{from};
    GeometryLib::Point cur = start;
    for (std::size_t steps = 0; !(cur == middle); ++steps) {
        const auto pred = cameFrom.find(cur);
        if (pred == cameFrom.end() || steps > cameFrom.size()) return {};
        cur = pred->second;
        const GeometryLib::Point c = room.toCell(cur);
        cells.push_back(Cell{c.x, c.y});
    }

    // Each leg is straight or diagonal; a diagonal step beside an avoided
    // cell goes round through its other side cell, which the search's step
    // rule leaves free, and the walk goes on from the step's far cell, so
    // that every leg stays straight or diagonal.
    std::vector<GeometryLib::FPoint> waypoints;
    auto add = [&](const Cell& c) {
        const GeometryLib::FPoint p(centre(c));
        if (waypoints.empty() || !(waypoints.back() == p)) waypoints.push_back(p);
    };
    for (std::size_t i = 1; i < cells.size(); ++i) {
        const Cell a = cells[i - 1];
        const Cell b = cells[i];
        const i32 ux = sign(b.x - a.x);
        const i32 uy = sign(b.y - a.y);
        if (ux != 0 && uy != 0) {
            for (Cell c = a; !(c == b); c = Cell{c.x + ux, c.y + uy}) {
                const Cell sideX{c.x + ux, c.y};
                const Cell sideY{c.x, c.y + uy};
                if (!avoided(sideX) && !avoided(sideY)) continue;
                const Cell via = avoided(sideX) ? sideY : sideX;
                if (room.cellStatus(static_cast<u32>(via.x), static_cast<u32>(via.y)) != 0) return {};
                if (!(c == from)) add(c);
                add(via);
                add(Cell{c.x + ux, c.y + uy});
            }
        }
        add(b);
    }
    // A unit at the middle of the target's cell walks within that cell.
    if (waypoints.empty()) return {target};
    waypoints.back() = target;
    return waypoints;
}

bool JPSMovePlanner::lineNearHazard(const GeometryLib::FPoint& a, const GeometryLib::FPoint& b) const {
    const float s = static_cast<float>(grid_->getCellSize());
    const float margin = s * 0.25f;
    const GeometryLib::Point ca = grid_->toCell(pointOf(a));
    const GeometryLib::Point cb = grid_->toCell(pointOf(b));
    const i32 lowX = static_cast<i32>(std::floor((std::min(a.x, b.x) - margin) / s));
    const i32 highX = static_cast<i32>(std::floor((std::max(a.x, b.x) + margin) / s));
    const i32 lowY = static_cast<i32>(std::floor((std::min(a.y, b.y) - margin) / s));
    const i32 highY = static_cast<i32>(std::floor((std::max(a.y, b.y) + margin) / s));
    for (i32 x = std::max(lowX, 0); x <= highX && x < static_cast<i32>(hazards_->columns()); ++x) {
        for (i32 y = std::max(lowY, 0); y <= highY && y < static_cast<i32>(hazards_->rows()); ++y) {
            if (hazards_->at(x, y) == CellHazards::Danger::none) continue;
            if ((x == ca.x && y == ca.y) || (x == cb.x && y == cb.y)) continue;
            if (segmentMeetsBox(a, b, x * s - margin, y * s - margin, (x + 1) * s + margin,
                                (y + 1) * s + margin))
                return true;
        }
    }
    return false;
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
