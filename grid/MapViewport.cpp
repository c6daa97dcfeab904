#include "grid/MapViewport.h"

namespace Zarn {

MapViewport::MapViewport(const MapProperties& properties, float viewWidth, float viewHeight)
    : properties_(properties), viewWidth_(viewWidth), viewHeight_(viewHeight) {
    if (!(viewWidth > 0.0f) || !(viewHeight > 0.0f)) throw "invalid viewport";
    const float width = static_cast<float>(properties_.width);
    const float height = static_cast<float>(properties_.height);
    if (viewWidth_ > width) marginX_ = (viewWidth_ - width) * 0.5f;
    if (viewHeight_ > height) marginY_ = (viewHeight_ - height) * 0.5f;
    cameraOffset_ = GeometryLib::FPoint(-marginX_, -marginY_);
}

void MapViewport::updateCamera(const GeometryLib::FPoint& target) {
    const float width = static_cast<float>(properties_.width);
    const float height = static_cast<float>(properties_.height);
    GeometryLib::FPoint next = target;
    if (smoothCamera) next = cameraOffset_ + (target - cameraOffset_) * 0.1f;

    if (-marginX_ > target.x) next.x = -marginX_;
    if (-marginY_ > target.y) next.y = -marginY_;
    // For a room narrower than the view this limit is -marginX as well, so the
    // room stays centred whatever the target.
    if (viewWidth_ + target.x > width + marginX_) next.x = width - viewWidth_ + marginX_;
    if (viewHeight_ + target.y > height + marginY_) next.y = height - viewHeight_ + marginY_;
    cameraOffset_ = next;
}

}  // namespace Zarn
