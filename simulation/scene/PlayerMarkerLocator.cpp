#include "simulation/scene/PlayerMarkerLocator.h"

#include <cmath>

#include "foundation/Error.h"
#include "grid/MapViewport.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

constexpr float kPi = 3.1415927f;

enum class Side { none, top, right, bottom, left };

}  // namespace

PlayerMarkerLocator::PlayerMarkerLocator(const SteerableUnitManager& units, const MapViewport& camera,
                                         const GeometryLib::FPoint& offset, float scale)
    : units_(units), camera_(camera), offset_(offset), scale_(scale) {}

GeometryLib::FPoint PlayerMarkerLocator::visibleCorner() const {
    return camera_.getCameraOffset() + offset_;
}

bool PlayerMarkerLocator::inView(const GeometryLib::FPoint& c, const GeometryLib::FPoint& p) const {
    return c.x <= p.x && p.x <= c.x + camera_.getViewWidth() && c.y <= p.y &&
           p.y <= c.y + camera_.getViewHeight();
}

bool PlayerMarkerLocator::isOnScreen(u32 clientID) const {
    const GeometryLib::FPoint p = units_.getUnit(clientID).body().position;
    return inView(visibleCorner(), p);
}

PlayerMarkerLocator::EdgePoint PlayerMarkerLocator::edgePoint(u32 clientID) const {
    const GeometryLib::FPoint p = units_.getUnit(clientID).body().position;
    const GeometryLib::FPoint c = visibleCorner();
    if (inView(c, p)) return {p, 0.0f};

    const float vw = camera_.getViewWidth();
    const float vh = camera_.getViewHeight();
    const float hw = vw * 0.5f;
    const float hh = vh * 0.5f;
    const GeometryLib::FPoint m = c + GeometryLib::FPoint(hw, hh);
    // Straight above or below gives an infinite slope, which the horizontal
    // test below turns into a zero offset along x.
    const float s = (p.y - m.y) / (p.x - m.x);

    Side side = Side::none;
    const float alongVertical = s * vw;
    if (-vh <= alongVertical && alongVertical <= vh) {
        if (p.x > m.x)
            side = Side::right;
        else if (p.x < m.x)
            side = Side::left;
    } else {
        const float alongHorizontal = vh / s;
        if (-vw <= alongHorizontal && alongHorizontal <= vw) {
            if (p.y > m.y)
                side = Side::top;
            else if (p.y < m.y)
                side = Side::bottom;
        }
    }

    const float k = scale_;
    GeometryLib::FPoint e;
    switch (side) {
        case Side::top:
            e = {hw + k * hh / s, hh + k * hh};
            break;
        case Side::right:
            e = {hw + k * hw, hh + k * hw * s};
            break;
        case Side::bottom:
            e = {hw - k * hh / s, hh - k * hh};
            break;
        case Side::left:
            e = {hw - k * hw, hh - k * hw * s};
            break;
        case Side::none:
            throw Convinience::Error("not valid points for calucating camera edges");
    }

    // The signed zeros of d decide exact left (-90) and right (90).
    const GeometryLib::FPoint d = e - GeometryLib::FPoint(hw, hh);
    float radians = std::atan(d.x / d.y);
    if (side == Side::bottom || ((side == Side::right || side == Side::left) && d.y < 0.0f)) radians += kPi;
    const float degrees = radians * 180.0f / kPi;
    return {e + GeometryLib::FPoint((scale_ - 1.0f) * hw, (scale_ - 1.0f) * hh), degrees};
}

}  // namespace Zarn
