#pragma once

#include "engine/RenderBackend.h"

namespace cocos2d {

// Draws nothing; keeps a copy of the last list so that a test can ask what was
// drawn where, in which order and how opaque.
class HeadlessRenderBackend : public RenderBackend {
public:
    void render(const DrawList& list) override;
    const DrawList& lastList() const { return last_; }
    unsigned int framesRendered() const { return frames_; }

private:
    DrawList last_;
    unsigned int frames_ = 0;
};

}  // namespace cocos2d
