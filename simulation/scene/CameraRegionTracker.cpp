#include "simulation/scene/CameraRegionTracker.h"

#include "grid/MapViewport.h"

namespace Zarn {

CameraRegionTracker::CameraRegionTracker(const std::vector<GeometryLib::Rect>& regions,
                                         const std::vector<std::vector<TransitionRegion>>& transitions,
                                         MapViewport& camera, float scale)
    : regions_(regions), transitions_(transitions), camera_(camera), scale_(scale) {}

bool CameraRegionTracker::rectContainsPoint(const GeometryLib::Rect& rect, const GeometryLib::Point& p) {
    const i64 x = rect.origin.x;
    const i64 y = rect.origin.y;
    return x <= p.x && p.x < x + static_cast<i64>(rect.width) && y - static_cast<i64>(rect.height) <= p.y &&
           p.y < y;
}

u32 CameraRegionTracker::findRegion(const GeometryLib::Point& p) const {
    for (u32 i = 0; i < regions_.size(); ++i) {
        if (i != current_ && rectContainsPoint(regions_[i], p)) return i;
    }
    return kNoRegion;
}

const TransitionRegion* CameraRegionTracker::findSubArea(const GeometryLib::Point& p) const {
    if (current_ == kNoRegion || current_ >= transitions_.size()) return nullptr;
    for (const TransitionRegion& t : transitions_[current_]) {
        // A transition that names no region of the map leads nowhere.
        if (t.id < regions_.size() && rectContainsPoint(t.area, p)) return &t;
    }
    return nullptr;
}

GeometryLib::FPoint CameraRegionTracker::regionOrigin() const {
    const GeometryLib::Rect& r = regions_[current_];
    return {static_cast<float>(r.origin.x), static_cast<float>(r.origin.y) - static_cast<float>(r.height)};
}

GeometryLib::FPoint CameraRegionTracker::regionTarget(const GeometryLib::Point& p) const {
    const GeometryLib::Rect& r = regions_[current_];
    const GeometryLib::FPoint P = GeometryLib::FPoint(p) * scale_;
    const GeometryLib::FPoint O = regionOrigin() * scale_;
    const GeometryLib::FPoint Q = GeometryLib::FPoint(r.origin) * scale_;
    const float W = static_cast<float>(r.width) * scale_;
    const float H = static_cast<float>(r.height) * scale_;
    const float VW = camera_.getViewWidth() * scale_;
    const float VH = camera_.getViewHeight() * scale_;

    GeometryLib::FPoint target;
    if (H > VH) {
        if (VH / 2 + O.y >= P.y) {
            target.y = -O.y;  // the view's bottom on the region's bottom
        } else if (P.y < Q.y - VH / 2) {
            target.y = VH / 2 - P.y;  // centred on the player
        } else {
            target.y = -(Q.y - VH);  // the view's top on the region's top
        }
    } else {
        target.y = (VH - H) / 2 - O.y;  // the region centred
    }
    if (W > VW) {
        if (VW / 2 + O.x >= P.x) {
            target.x = -O.x;
        } else if (P.x < O.x + W - VW / 2) {
            target.x = VW / 2 - P.x;
        } else {
            target.x = -(O.x + W - VW);
        }
    } else {
        target.x = (VW - W) / 2 - O.x;
    }
    return target;
}

void CameraRegionTracker::moveCamera(const GeometryLib::FPoint& rootOffset) {
    camera_.updateCamera(viewCornerForRootOffset(rootOffset, scale_));
}

void CameraRegionTracker::update(const GeometryLib::FPoint& pos) {
    const GeometryLib::Point p(GeometryLib::clampedPointCoordinate(pos.x),
                               GeometryLib::clampedPointCoordinate(pos.y));
    const bool inHeld = heldTransition_ != nullptr && rectContainsPoint(heldTransition_->area, p);
    const TransitionRegion* t = nullptr;
    if (current_ != kNoRegion) {
        t = findSubArea(p);
        const bool inCurrent = rectContainsPoint(regions_[current_], p);
        if (justSwitched_ && t != nullptr && t != heldTransition_ && heldTransition_ != nullptr && !inHeld)
            return;
        if (t != nullptr && t->id == current_) return;
        if (t != nullptr && inCurrent && t->id == previous_ && justSwitched_) return;
        if (inCurrent && t == nullptr) {
            justSwitched_ = false;
            target_ = regionTarget(p);
            moveCamera(target_);
            return;
        }
    }

    previous_ = current_;
    u32 next = kNoRegion;
    if (t != nullptr) {
        next = t->id;
        heldTransition_ = t;
    } else {
        if (inHeld) return;
        next = findRegion(p);
    }
    current_ = next;

    if (current_ == kNoRegion) {
        const float half = 0.5f * scale_;
        moveCamera(pos * -scale_ +
                   GeometryLib::FPoint(camera_.getViewWidth() * half, camera_.getViewHeight() * half));
        return;
    }
    target_ = regionTarget(p);
    moveCamera(target_);
    justSwitched_ = true;
}

}  // namespace Zarn
