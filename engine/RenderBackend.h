#pragma once

#include "engine/DrawList.h"

namespace cocos2d {

// Turns a frame's draw list into pixels. The director calls `render` on the
// main thread once per frame with the list sorted into drawing order.
class RenderBackend {
public:
    virtual ~RenderBackend() = default;
    virtual void render(const DrawList& list) = 0;
};

}  // namespace cocos2d
