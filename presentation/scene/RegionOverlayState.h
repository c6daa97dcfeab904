#pragma once

#include "foundation/Types.h"

// The rule behind the dimming of everything outside the current camera
// region: each frame the camera moved, the scene asks it what to do with the
// stencil for the region the tracker now reports (kNoRegion for none).
//
// | situation                                              | stencil        | then            |
// |--------------------------------------------------------|----------------|-----------------|
// | a region that is not the one the stencil shows         | redraw for it  | unsettled       |
// | first frame after a redraw (or at the start), no region | clear          | settled         |
// | first frame after a redraw, in the drawn region        | keep           | settled         |
// | settled, no region, a region was drawn last            | clear          |                 |
// | settled, in the drawn region                           | keep           |                 |
//
// "Shows" means drawn last and not cleared since: coming back into the region
// drawn last after a stretch without a region redraws it, so that the room
// is dimmed again. A value type; main thread only.
class RegionOverlayState {
public:
    static constexpr u32 kNoRegion = 0xFFFFFFFFu;

    enum class Stencil { keep, redraw, clear };

    // The stencil's change for a frame in which the camera moved and the
    // tracker reports `current`.
    Stencil step(u32 current);

    // The region drawn last (kNoRegion before the first redraw or settling).
    u32 last() const { return last_; }
    bool settled() const { return settled_; }

private:
    u32 last_ = kNoRegion;
    bool settled_ = false;
    // The stencil was cleared after the last redraw.
    bool cleared_ = false;
};
