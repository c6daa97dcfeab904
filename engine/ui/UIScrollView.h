#pragma once

#include "engine/ui/UIWidget.h"

namespace cocos2d {
namespace ui {

// A window onto a larger inner container that a drag moves (within bounds,
// without bounce) and that code scrolls by percent. Children added to the view
// go into the inner container; only the part inside the view's box is shown.
// Vertical percent 0 shows the top of the container, 100 its bottom;
// horizontal 0 its left, 100 its right.
class ScrollView : public Widget {
public:
    enum class Direction { NONE, VERTICAL, HORIZONTAL, BOTH };

    static ScrollView* create();
    bool init() override;

    void setDirection(Direction direction) { direction_ = direction; }
    Direction getDirection() const { return direction_; }
    Widget* getInnerContainer() const { return inner_; }
    void setInnerContainerSize(const Size& size);
    const Size& getInnerContainerSize() const;
    void setInnerContainerPosition(const Vec2& position);
    const Vec2& getInnerContainerPosition() const;
    void setContentSize(const Size& size) override;

    void addChild(Node* child) override;
    void addChild(Node* child, int localZOrder) override;
    void addChild(Node* child, int localZOrder, int tag) override;
    void addChild(Node* child, int localZOrder, const std::string& name) override;
    void removeAllChildren() override;

    void jumpToTop();
    void jumpToBottom();
    void jumpToLeft();
    void jumpToRight();
    void jumpToPercentVertical(float percent);
    void jumpToPercentHorizontal(float percent);
    // Moves there over `time` seconds (slowing towards the end when
    // attenuated).
    void scrollToPercentVertical(float percent, float time, bool attenuated);
    void scrollToPercentHorizontal(float percent, float time, bool attenuated);
    void scrollToTop(float time, bool attenuated) { scrollToPercentVertical(0.0f, time, attenuated); }
    void scrollToBottom(float time, bool attenuated) { scrollToPercentVertical(100.0f, time, attenuated); }
    void stopAutoScroll();
    bool isAutoScrolling() const { return autoScrolling_; }

    void setScrollBarEnabled(bool enabled) { scrollBarEnabled_ = enabled; }
    bool isScrollBarEnabled() const { return scrollBarEnabled_; }
    void setBounceEnabled(bool enabled) { bounceEnabled_ = enabled; }
    bool isBounceEnabled() const { return bounceEnabled_; }
    void setInertiaScrollEnabled(bool enabled) { inertiaEnabled_ = enabled; }
    bool isInertiaScrollEnabled() const { return inertiaEnabled_; }

    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;
    void onTouchCancelled(Touch* touch, Event* event) override;

    void update(float dt) override;
    void visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    Vec2 clamp(const Vec2& position) const;
    Vec2 percentTarget(float vertical, float horizontal, bool useVertical, bool useHorizontal) const;
    void startAutoScroll(const Vec2& destination, float time, bool attenuated);

    Widget* inner_ = nullptr;  // child of the view
    Direction direction_ = Direction::VERTICAL;
    bool scrollBarEnabled_ = true;
    bool bounceEnabled_ = false;
    bool inertiaEnabled_ = true;
    bool dragging_ = false;
    Vec2 lastTouch_;
    bool autoScrolling_ = false;
    Vec2 autoStart_;
    Vec2 autoTarget_;
    float autoTime_ = 0.0f;
    float autoElapsed_ = 0.0f;
    bool autoAttenuated_ = false;
};

}  // namespace ui
}  // namespace cocos2d
