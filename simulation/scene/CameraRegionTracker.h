#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "map/records/SectionHeaders.h"

namespace Zarn {

class MapViewport;

// The camera (MapViewport) keeps the lower-left corner of the view in map
// units; the world root, drawn at `scale`, shows that corner at the visible
// origin when it is offset by minus the corner times the scale (scaled
// units). These two convert between the camera's corner and that offset.
inline GeometryLib::FPoint viewCornerForRootOffset(const GeometryLib::FPoint& rootOffset, float scale) {
    return rootOffset / -scale;
}
inline GeometryLib::FPoint rootOffsetForViewCorner(const GeometryLib::FPoint& viewCorner, float scale) {
    return viewCorner * -scale;
}

// Keeps the camera inside the map's camera regions: from the local player's
// position it decides every frame which region the camera shows and moves
// the camera toward it. Targets are worked out as the world root's offset
// (scaled units) and handed to the camera as the view's corner, so that the
// camera's limits keep a room smaller than the view centred. A transition
// region inside the current region switches the camera to the region it
// names. With no region the camera centres on the player.
//
// Rectangles have their origin at the top-left corner with y growing up:
// (px, py) lies inside (x, y, width, height) when x <= px < x + width and
// y - height <= py < y.
//
// One per in-game scene; main thread only.
class CameraRegionTracker {
public:
    static constexpr u32 kNoRegion = 0xFFFFFFFFu;

    // The regions and their transition lists (at each region's index) are the
    // game map's, the camera the scene's; all outlive the tracker. scale is
    // the world root's scale.
    CameraRegionTracker(const std::vector<GeometryLib::Rect>& regions,
                        const std::vector<std::vector<TransitionRegion>>& transitions, MapViewport& camera,
                        float scale = 1.25f);

    // Once per frame with the local player's position (map units).
    void update(const GeometryLib::FPoint& playerPosition);

    // The region the camera shows, or kNoRegion.
    u32 current() const { return current_; }
    u32 previous() const { return previous_; }
    // The transition region through which the camera last switched, or null.
    const TransitionRegion* heldTransition() const { return heldTransition_; }
    // The last region target (the world root's offset, scaled units).
    const GeometryLib::FPoint& target() const { return target_; }
    bool justSwitched() const { return justSwitched_; }

    // The first region in map order that holds p and is not the current one,
    // or kNoRegion.
    u32 findRegion(const GeometryLib::Point& p) const;
    // The first transition region of the current region that holds p and
    // leads to a region of the map, or null.
    const TransitionRegion* findSubArea(const GeometryLib::Point& p) const;
    // The current region's lower-left corner (map units).
    GeometryLib::FPoint regionOrigin() const;
    // The world root's offset that shows the current region around p.
    GeometryLib::FPoint regionTarget(const GeometryLib::Point& p) const;

    static bool rectContainsPoint(const GeometryLib::Rect& rect, const GeometryLib::Point& p);

private:
    void moveCamera(const GeometryLib::FPoint& rootOffset);

    const std::vector<GeometryLib::Rect>& regions_;
    const std::vector<std::vector<TransitionRegion>>& transitions_;
    MapViewport& camera_;
    float scale_;

    u32 current_ = kNoRegion;
    u32 previous_ = kNoRegion;
    GeometryLib::FPoint target_;
    bool justSwitched_ = false;
    // Points into transitions_, which the game map keeps unchanged while the
    // scene lives.
    const TransitionRegion* heldTransition_ = nullptr;
};

}  // namespace Zarn
