#pragma once

#include "foundation/Geometry.h"

namespace Zarn {

// What a receiver makes of a pointer event: kind 0 it does not take the event,
// kind 3 it handled the event itself, any other kind is an input of the local
// player for the simulation (at `position`).
struct InputAnswer {
    u8 kind = 0;
    GeometryLib::FPoint position;
};

// Anything that can take a pointer or touch event. Main thread only.
class Inputable {
public:
    virtual ~Inputable() = default;
    // position: the event's point (map units for receivers in the world).
    virtual InputAnswer handleInput(const GeometryLib::FPoint& position) = 0;
};

}  // namespace Zarn
