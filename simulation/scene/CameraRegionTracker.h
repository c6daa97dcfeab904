#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "map/records/SectionHeaders.h"

namespace Zarn {

class MapViewport;

// Keeps the camera inside the map's camera regions: from the local player's
// position it decides every frame which region the camera shows and hands
// the camera its target (the world root's offset, in scaled units). A
// transition region inside the current region switches the camera to the
// region it names. With no region the camera centres on the player.
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
    // The camera target that shows the current region around p.
    GeometryLib::FPoint regionTarget(const GeometryLib::Point& p) const;

    static bool rectContainsPoint(const GeometryLib::Rect& rect, const GeometryLib::Point& p);

private:
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
