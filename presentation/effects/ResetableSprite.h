#pragma once

#include "engine/Sprite.h"

// A sprite whose children are pieces that can be put back to their neutral
// pose: the 2D player's giblets, which fly apart at a death and come back
// for the next one. Main thread only.
class ResetableSprite : public cocos2d::Sprite {
public:
    // An empty sprite (engine create pattern; null on failure).
    static ResetableSprite* create();
    // Every child, in order: 3D position and 3D rotation zero, opacity 255,
    // visible.
    virtual void reset();
};
