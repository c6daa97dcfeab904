#include "presentation/scene/RegionOverlayState.h"

RegionOverlayState::Stencil RegionOverlayState::step(u32 current) {
    if (current != kNoRegion && (current != last_ || cleared_)) {
        last_ = current;
        settled_ = false;
        cleared_ = false;
        return Stencil::redraw;
    }
    Stencil change = Stencil::keep;
    if (!settled_) {
        if (current == kNoRegion) change = Stencil::clear;
        settled_ = true;
        last_ = current;
    }
    if (last_ != kNoRegion && current == kNoRegion) change = Stencil::clear;
    if (change == Stencil::clear) cleared_ = true;
    return change;
}
