#pragma once

#include "engine/Node.h"

namespace cocos2d {
class Sprite;
class FiniteTimeAction;
}  // namespace cocos2d

// The marker that plays for 0.2 s where the player touched the room: an arrow
// drops 60 units onto the point in 0.1 s and flies back up while fading,
// and a ring pops open under it and fades; then the cursor removes itself.
// The in-game scene adds one per taken touch (scale 0.4, z order 1500000).
//
// The three action trees are built once and kept in process-wide holders;
// every cursor runs clones of them. Main thread only (the holders are not
// locked; only the engine's thread makes cursors).
class ClickCursor : public cocos2d::Node {
public:
    static constexpr const char* kArrowFrame = "cursor_arrow.png";
    static constexpr const char* kRingFrame = "cursor_ring.png";
    // How far above the point the arrow starts (units of the cursor).
    static constexpr float kArrowDrop = 60.0f;
    // From the touch to the cursor's removal, seconds.
    static constexpr float kLifetime = 0.2f;

    static ClickCursor* create();
    bool init() override;

    // Builds the three prototypes when none is held; a no-op otherwise.
    static void buildActions();
    // Releases the prototypes and empties the holders; the in-game scene
    // calls it when it is destroyed, so the next scene builds them afresh.
    static void releaseActions();
    // The held prototypes (null when released): arrow, ring, self-removal.
    static cocos2d::FiniteTimeAction* arrowAction();
    static cocos2d::FiniteTimeAction* ringAction();
    static cocos2d::FiniteTimeAction* removalAction();

    cocos2d::Sprite* getArrow() const { return arrow_; }
    cocos2d::Sprite* getRing() const { return ring_; }

private:
    // Children of the cursor; the node tree keeps them alive.
    cocos2d::Sprite* arrow_ = nullptr;
    cocos2d::Sprite* ring_ = nullptr;
};
