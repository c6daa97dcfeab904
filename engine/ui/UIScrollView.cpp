#include "engine/ui/UIScrollView.h"

#include <algorithm>
#include <cmath>

#include "engine/DrawList.h"
#include "engine/Event.h"

namespace cocos2d {
namespace ui {

ScrollView* ScrollView::create() {
    return createWithInit<ScrollView>();
}

bool ScrollView::init() {
    if (!Widget::init()) return false;
    setAnchorPoint(Vec2::ZERO);
    inner_ = Widget::create();
    inner_->setAnchorPoint(Vec2::ZERO);
    addChildHelper(inner_, 1, inner_->getName());
    setTouchEnabled(true);
    scheduleUpdate();
    return true;
}

void ScrollView::setContentSize(const Size& size) {
    Widget::setContentSize(size);
    if (inner_ == nullptr) return;
    // The container is at least as large as the view; keep its top in place.
    const Size s = inner_->getContentSize();
    setInnerContainerSize(s);
}

void ScrollView::setInnerContainerSize(const Size& size) {
    const float top = inner_->getPositionY() + inner_->getContentSize().height;
    const Size s(std::max(size.width, contentSize_.width), std::max(size.height, contentSize_.height));
    inner_->setContentSize(s);
    inner_->setPosition(clamp(Vec2(inner_->getPositionX(), top - s.height)));
}

const Size& ScrollView::getInnerContainerSize() const {
    return inner_->getContentSize();
}

void ScrollView::setInnerContainerPosition(const Vec2& position) {
    inner_->setPosition(position);
}

const Vec2& ScrollView::getInnerContainerPosition() const {
    return inner_->getPosition();
}

void ScrollView::addChild(Node* child) {
    inner_->addChild(child);
}
void ScrollView::addChild(Node* child, int localZOrder) {
    inner_->addChild(child, localZOrder);
}
void ScrollView::addChild(Node* child, int localZOrder, int tag) {
    inner_->addChild(child, localZOrder, tag);
}
void ScrollView::addChild(Node* child, int localZOrder, const std::string& name) {
    inner_->addChild(child, localZOrder, name);
}
void ScrollView::removeAllChildren() {
    inner_->removeAllChildren();
}

Vec2 ScrollView::clamp(const Vec2& p) const {
    const Size s = inner_->getContentSize();
    const float minX = contentSize_.width - s.width;
    const float minY = contentSize_.height - s.height;
    return Vec2(std::clamp(p.x, std::min(minX, 0.0f), 0.0f), std::clamp(p.y, std::min(minY, 0.0f), 0.0f));
}

Vec2 ScrollView::percentTarget(float vertical, float horizontal, bool useVertical, bool useHorizontal) const {
    const Size s = inner_->getContentSize();
    Vec2 p = inner_->getPosition();
    if (useVertical) {
        const float minY = contentSize_.height - s.height;
        p.y = minY + (-minY) * vertical / 100.0f;
    }
    if (useHorizontal) {
        const float w = s.width - contentSize_.width;
        p.x = -w * horizontal / 100.0f;
    }
    return clamp(p);
}

void ScrollView::jumpToTop() {
    jumpToPercentVertical(0.0f);
}
void ScrollView::jumpToBottom() {
    jumpToPercentVertical(100.0f);
}
void ScrollView::jumpToLeft() {
    jumpToPercentHorizontal(0.0f);
}
void ScrollView::jumpToRight() {
    jumpToPercentHorizontal(100.0f);
}

void ScrollView::jumpToPercentVertical(float percent) {
    stopAutoScroll();
    inner_->setPosition(percentTarget(percent, 0.0f, true, false));
}

void ScrollView::jumpToPercentHorizontal(float percent) {
    stopAutoScroll();
    inner_->setPosition(percentTarget(0.0f, percent, false, true));
}

void ScrollView::scrollToPercentVertical(float percent, float time, bool attenuated) {
    startAutoScroll(percentTarget(percent, 0.0f, true, false), time, attenuated);
}

void ScrollView::scrollToPercentHorizontal(float percent, float time, bool attenuated) {
    startAutoScroll(percentTarget(0.0f, percent, false, true), time, attenuated);
}

void ScrollView::startAutoScroll(const Vec2& destination, float time, bool attenuated) {
    if (time <= 0.0f) {
        inner_->setPosition(destination);
        autoScrolling_ = false;
        return;
    }
    autoScrolling_ = true;
    autoStart_ = inner_->getPosition();
    autoTarget_ = destination;
    autoTime_ = time;
    autoElapsed_ = 0.0f;
    autoAttenuated_ = attenuated;
}

void ScrollView::stopAutoScroll() {
    autoScrolling_ = false;
}

void ScrollView::update(float dt) {
    if (!autoScrolling_) return;
    autoElapsed_ += dt;
    float t = std::min(autoElapsed_ / autoTime_, 1.0f);
    if (autoAttenuated_) t = 1.0f - (1.0f - t) * (1.0f - t) * (1.0f - t) * (1.0f - t) * (1.0f - t);
    inner_->setPosition(autoStart_ + (autoTarget_ - autoStart_) * t);
    if (autoElapsed_ >= autoTime_) autoScrolling_ = false;
}

bool ScrollView::onTouchBegan(Touch* touch, Event* event) {
    const bool claimed = Widget::onTouchBegan(touch, event);
    if (hitted_) {
        dragging_ = true;
        lastTouch_ = touch->getLocation();
        stopAutoScroll();
    }
    return claimed;
}

void ScrollView::onTouchMoved(Touch* touch, Event* event) {
    Widget::onTouchMoved(touch, event);
    if (!dragging_) return;
    const Vec2 now = touch->getLocation();
    // The drag in the view's own units.
    Vec2 delta = convertToNodeSpace(now) - convertToNodeSpace(lastTouch_);
    lastTouch_ = now;
    if (direction_ == Direction::VERTICAL) delta.x = 0.0f;
    if (direction_ == Direction::HORIZONTAL) delta.y = 0.0f;
    if (direction_ == Direction::NONE) return;
    inner_->setPosition(clamp(inner_->getPosition() + delta));
}

void ScrollView::onTouchEnded(Touch* touch, Event* event) {
    Widget::onTouchEnded(touch, event);
    dragging_ = false;
}

void ScrollView::onTouchCancelled(Touch* touch, Event* event) {
    Widget::onTouchCancelled(touch, event);
    dragging_ = false;
}

void ScrollView::visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!visible_) return;
    const Mat4 transform = parentTransform * getNodeToParentTransform();
    ClipRegion region;
    region.kind = ClipRegion::Kind::Rect;
    region.parent = context.currentClip;
    region.corners[0] = transform.transformPoint(Vec2(0, 0));
    region.corners[1] = transform.transformPoint(Vec2(contentSize_.width, 0));
    region.corners[2] = transform.transformPoint(Vec2(contentSize_.width, contentSize_.height));
    region.corners[3] = transform.transformPoint(Vec2(0, contentSize_.height));
    const int saved = context.currentClip;
    context.currentClip = static_cast<int>(context.list.clips.size());
    context.list.clips.push_back(region);
    Widget::visit(context, parentTransform, parentFlags);
    context.currentClip = saved;
}

}  // namespace ui
}  // namespace cocos2d
