#pragma once

#include "engine/DrawNode.h"
#include "engine/Sprite.h"

// One scroll step of a conveyor's arrow strip: the offset grows by
// speed x dt / 0.4 and loses 160 once when it passes 160 (a step beyond 320
// leaves it above 160; a negative speed never wraps).
float conveyorScrollStep(float offset, float speed, float dt);

// The picture of a conveyor tile whose speed comes from the map (type 140):
// a dark 160 x 160 square in a black frame, with the yellow arrow strip
// "conveyor_arrows.png" clipped to the square and scrolling towards +x while
// running (the tile's rotation turns it to the belt's direction). Created
// still, at speed 150 (units a second at the room's scale 0.4). Main thread
// only.
class DynamicConveyor : public cocos2d::Sprite {
public:
    static DynamicConveyor* create();
    bool init() override;

    // While running: one scroll step, the strip's x = base x + offset.
    void update(float dt) override;

    // Written by the factory before the first frame.
    float speed = 150.0f;
    bool running = false;

    float getScrollOffset() const { return scrollOffset_; }
    cocos2d::Sprite* getArrows() const { return arrows_; }
    const cocos2d::Vec2& getArrowsBasePosition() const { return arrowsBasePosition_; }

private:
    // Children (the arrows inside the clip).
    cocos2d::DrawNode* border_ = nullptr;
    cocos2d::DrawNode* background_ = nullptr;
    cocos2d::Sprite* arrows_ = nullptr;
    float scrollOffset_ = 0.0f;
    cocos2d::Vec2 arrowsBasePosition_;
};
