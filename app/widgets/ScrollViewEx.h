#pragma once

#include "engine/Event.h"
#include "engine/ui/UIScrollView.h"

// The vertical percent (0 top, 100 bottom) that one wheel turn scrolls a view
// to: 150 units per step (positive steps towards the bottom) from the inner
// container's position, clamped to the scrollable range. A container no
// taller than the view has nothing to scroll: answers a negative number.
float wheelScrollPercent(float innerHeight, float viewHeight, float innerY, float scrollY);

// The engine's scroll view, made to hold buttons: a touch starts scrolling
// only once it has moved more than 10 units from where it began (so a tap
// reaches the button under it, and a drag's end is swallowed), and the mouse
// wheel over the view scrolls it vertically, 150 units a step, eased over
// 0.2 s. Main thread only.
class ScrollViewEx : public cocos2d::ui::ScrollView {
public:
    static constexpr float kDragThreshold = 10.0f;
    static constexpr float kWheelStep = 150.0f;
    static constexpr float kWheelSeconds = 0.2f;

    static ScrollViewEx* create();
    bool init() override;

    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchMoved(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;

    bool hasMoved() const { return moved; }

protected:
    void onWheel(cocos2d::EventMouse* event);

    bool moved = false;
    cocos2d::Vec2 touchStart;
};
