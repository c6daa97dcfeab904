#pragma once

#include "foundation/Geometry.h"

namespace Zarn {

class MapViewport;
class SteerableUnitManager;

// Where the off-screen marker of a player goes: whether a client's unit lies
// inside the camera's view and, when it does not, the point on the screen's
// edge on the line from the view's centre to the unit, with the marker's turn.
// Engine-free; the marker display applies the results. Main thread only.
class PlayerMarkerLocator {
public:
    // A marker placement: point on the screen (origin at its lower-left corner,
    // scaled units) and turn in degrees, 0 pointing up, growing clockwise.
    struct EdgePoint {
        GeometryLib::FPoint point;
        float angle = 0.0f;
    };

    // units and camera belong to the in-game scene and its client and outlive
    // the locator. offset (map units) is added to the camera's view corner
    // to give the visible lower-left corner; scale is the world root's scale.
    PlayerMarkerLocator(const SteerableUnitManager& units, const MapViewport& camera,
                        const GeometryLib::FPoint& offset, float scale = 1.25f);

    // Borders count as on screen. An unknown client throws as
    // SteerableUnitManager::getUnit does.
    bool isOnScreen(u32 clientID) const;
    // A unit on screen gets its own position and angle 0. A position that gives
    // no edge (NaN) throws Convinience::Error "not valid points for calucating
    // camera edges".
    EdgePoint edgePoint(u32 clientID) const;

private:
    // The visible lower-left corner in map units.
    GeometryLib::FPoint visibleCorner() const;
    bool inView(const GeometryLib::FPoint& corner, const GeometryLib::FPoint& p) const;

    const SteerableUnitManager& units_;
    const MapViewport& camera_;
    GeometryLib::FPoint offset_;
    float scale_;
};

}  // namespace Zarn
