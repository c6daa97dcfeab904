#pragma once

#include "foundation/Geometry.h"
#include "grid/MapProperties.h"

namespace Zarn {

// Places a view of a given size (map units) over a room and keeps the camera
// inside it. A room smaller than the view on an axis is centred on that axis:
// the camera then stays at minus the centring margin.
//
// Made by the in-game scene and used on the main thread only.
class MapViewport {
public:
    // Throws the C string "invalid viewport" (a const char*) when viewWidth or
    // viewHeight is not positive.
    MapViewport(const MapProperties& properties, float viewWidth, float viewHeight);

    // The lower-left corner of the view in map units.
    GeometryLib::FPoint getCameraOffset() const { return cameraOffset_; }
    // Moves the camera toward the point it is to show (once per frame). With
    // smoothing on, the camera closes a tenth of the gap per call; the room's
    // limits are tested on the raw target and snap at once.
    void updateCamera(const GeometryLib::FPoint& target);

    float getMarginX() const { return marginX_; }
    float getMarginY() const { return marginY_; }
    // The centring margins; the in-game scene widens them for rooms at least
    // as large as the view.
    void setMargins(float marginX, float marginY) {
        marginX_ = marginX;
        marginY_ = marginY;
    }
    float getViewWidth() const { return viewWidth_; }
    float getViewHeight() const { return viewHeight_; }

    // False at construction; the owner sets it when the camera is to ease.
    bool smoothCamera = false;

private:
    MapProperties properties_;
    float viewWidth_;
    float viewHeight_;
    GeometryLib::FPoint cameraOffset_;
    float marginX_ = 0.0f;
    float marginY_ = 0.0f;
};

}  // namespace Zarn
