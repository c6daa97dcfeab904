#include "engine/Node.h"

#include <algorithm>
#include <cmath>

#include "engine/ActionManager.h"
#include "engine/Director.h"
#include "engine/DrawList.h"
#include "engine/EventDispatcher.h"
#include "engine/Scene.h"
#include "engine/Scheduler.h"

namespace cocos2d {

namespace {
constexpr float kDegToRad = 0.017453292519943295f;
}

Node::Node() {
    Director* director = Director::getInstance();
    scheduler_ = director->getScheduler();
    actionManager_ = director->getActionManager();
    eventDispatcher_ = director->getEventDispatcher();
}

Node::~Node() {
    // Children outlive nothing of ours: detach them without running exit code
    // (a running node is never destroyed: its parent holds it).
    for (Node* child : children_) child->parent_ = nullptr;
    children_.clear();
    actionManager_->removeAllActionsFromTarget(this);
    scheduler_->unscheduleAllForTarget(this);
    eventDispatcher_->removeEventListenersForTarget(this);
}

Node* Node::create() {
    return createWithInit<Node>();
}

bool Node::init() {
    return true;
}

// ---------------------------------------------------------------- tree

void Node::addChild(Node* child) {
    addChild(child, child->localZOrder_, child->name_);
}

void Node::addChild(Node* child, int localZOrder) {
    addChild(child, localZOrder, child->name_);
}

void Node::addChild(Node* child, int localZOrder, int tag) {
    addChild(child, localZOrder, child->name_);
    child->tag_ = tag;
}

void Node::addChild(Node* child, int localZOrder, const std::string& name) {
    addChildHelper(child, localZOrder, name);
}

void Node::addChildHelper(Node* child, int localZOrder, const std::string& name) {
    if (child == nullptr || child->parent_ != nullptr || child == this) return;
    insertChild(child, localZOrder);
    child->name_ = name;
    child->setParent(this);
    if (running_) {
        child->onEnter();
        // A child added while a transition brings its scene in gets its
        // finish later, with the rest of the tree.
        if (transitionFinished_) child->onEnterTransitionDidFinish();
    }
    if (cascadeColorEnabled_) updateCascadeColor();
    if (cascadeOpacityEnabled_) updateCascadeOpacity();
}

void Node::insertChild(Node* child, int z) {
    reorderChildDirty_ = true;
    eventDispatcher_->sceneGraphChanged();
    children_.pushBack(child);
    child->localZOrder_ = z;
    child->orderOfArrival_ = ++childArrivalCounter_;
}

void Node::setParent(Node* parent) {
    parent_ = parent;
    transformDirty_ = true;
    if (usingNormalizedPosition_) setNormalizedPosition(normalizedPosition_);
}

Scene* Node::getScene() const {
    const Node* node = this;
    while (node->parent_ != nullptr) node = node->parent_;
    return dynamic_cast<Scene*>(const_cast<Node*>(node));
}

void Node::detachChild(Node* child, std::ptrdiff_t index, bool cleanup) {
    if (running_) {
        child->onExitTransitionDidStart();
        child->onExit();
    }
    if (cleanup) child->cleanup();
    child->setParent(nullptr);
    children_.erase(static_cast<std::size_t>(index));
    eventDispatcher_->sceneGraphChanged();
}

void Node::removeChild(Node* child, bool cleanup) {
    if (child == nullptr || children_.empty()) return;
    const std::ptrdiff_t index = children_.getIndex(child);
    if (index >= 0) detachChild(child, index, cleanup);
}

void Node::removeChildByTag(int tag, bool cleanup) {
    if (Node* child = getChildByTag(tag)) removeChild(child, cleanup);
}

void Node::removeChildByName(const std::string& name, bool cleanup) {
    if (Node* child = getChildByName(name)) removeChild(child, cleanup);
}

void Node::removeAllChildren() {
    removeAllChildrenWithCleanup(true);
}

void Node::removeAllChildrenWithCleanup(bool cleanup) {
    Vector<Node*> old;
    old.swap(children_);
    eventDispatcher_->sceneGraphChanged();
    for (Node* child : old) {
        if (running_) {
            child->onExitTransitionDidStart();
            child->onExit();
        }
        if (cleanup) child->cleanup();
        child->setParent(nullptr);
    }
}

void Node::removeFromParent() {
    removeFromParentAndCleanup(true);
}

void Node::removeFromParentAndCleanup(bool cleanup) {
    if (parent_ != nullptr) parent_->removeChild(this, cleanup);
}

void Node::reorderChild(Node* child, int localZOrder) {
    if (child == nullptr) return;
    reorderChildDirty_ = true;
    child->orderOfArrival_ = ++childArrivalCounter_;
    child->localZOrder_ = localZOrder;
    eventDispatcher_->sceneGraphChanged();
}

void Node::setGlobalZOrder(float z) {
    if (z == globalZOrder_) return;
    globalZOrder_ = z;
    eventDispatcher_->sceneGraphChanged();
}

void Node::setLocalZOrder(int z) {
    if (z == localZOrder_) return;
    if (parent_ != nullptr) {
        parent_->reorderChild(this, z);
    } else {
        localZOrder_ = z;
    }
}

void Node::sortAllChildren() {
    if (!reorderChildDirty_) return;
    auto& data = const_cast<std::vector<Node*>&>(children_.asStdVector());
    std::sort(data.begin(), data.end(), [](const Node* a, const Node* b) {
        return a->localZOrder_ < b->localZOrder_ ||
               (a->localZOrder_ == b->localZOrder_ && a->orderOfArrival_ < b->orderOfArrival_);
    });
    reorderChildDirty_ = false;
}

Node* Node::getChildByTag(int tag) const {
    for (Node* child : children_)
        if (child->tag_ == tag) return child;
    return nullptr;
}

Node* Node::getChildByName(const std::string& name) const {
    for (Node* child : children_)
        if (child->name_ == name) return child;
    return nullptr;
}

// ---------------------------------------------------------------- geometry

void Node::getPosition(float* x, float* y) const {
    *x = position_.x;
    *y = position_.y;
}

void Node::setPosition(const Vec2& position) {
    if (position_ == position && !usingNormalizedPosition_) return;
    position_ = position;
    usingNormalizedPosition_ = false;
    transformDirty_ = true;
}

void Node::setPositionZ(float z) {
    positionZ_ = z;
    transformDirty_ = true;
}

void Node::setPosition3D(const Vec3& position) {
    setPositionZ(position.z);
    setPosition(Vec2(position.x, position.y));
}

void Node::setNormalizedPosition(const Vec2& position) {
    usingNormalizedPosition_ = true;
    normalizedPosition_ = position;
    if (parent_ != nullptr) {
        const Size& s = parent_->getContentSize();
        position_ = Vec2(s.width * position.x, s.height * position.y);
    }
    transformDirty_ = true;
}

void Node::setAnchorPoint(const Vec2& anchor) {
    anchorPoint_ = anchor;
    anchorPointInPoints_ = Vec2(contentSize_.width * anchor.x, contentSize_.height * anchor.y);
    transformDirty_ = true;
}

void Node::setIgnoreAnchorPointForPosition(bool ignore) {
    ignoreAnchorPointForPosition_ = ignore;
    transformDirty_ = true;
}

void Node::setContentSize(const Size& size) {
    contentSize_ = size;
    anchorPointInPoints_ = Vec2(size.width * anchorPoint_.x, size.height * anchorPoint_.y);
    transformDirty_ = true;
}

void Node::setScale(float scale) {
    setScale(scale, scale);
}

void Node::setScale(float scaleX, float scaleY) {
    scaleX_ = scaleX;
    scaleY_ = scaleY;
    transformDirty_ = true;
}

void Node::setScaleX(float scaleX) {
    scaleX_ = scaleX;
    transformDirty_ = true;
}

void Node::setScaleY(float scaleY) {
    scaleY_ = scaleY;
    transformDirty_ = true;
}

void Node::setRotation(float degrees) {
    rotation_ = degrees;
    transformDirty_ = true;
}

void Node::setRotation3D(const Vec3& rotation) {
    rotationX_ = rotation.x;
    rotationY_ = rotation.y;
    rotation_ = rotation.z;
    transformDirty_ = true;
}

void Node::setSkewX(float degrees) {
    skewX_ = degrees;
    transformDirty_ = true;
}

void Node::setSkewY(float degrees) {
    skewY_ = degrees;
    transformDirty_ = true;
}

const Mat4& Node::getNodeToParentTransform() const {
    if (!transformDirty_) return transform_;
    // parent <- translate(position) * rotate(-rotation) * skew * scale * translate(-anchor)
    float x = position_.x;
    float y = position_.y;
    if (ignoreAnchorPointForPosition_) {
        x += anchorPointInPoints_.x;
        y += anchorPointInPoints_.y;
    }
    const float radians = -rotation_ * kDegToRad;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    // Linear part L = R * K * S with K the skew [1 tan(sx); tan(sy) 1].
    const float kx = std::tan(skewX_ * kDegToRad);
    const float ky = std::tan(skewY_ * kDegToRad);
    // K * S
    const float a0 = scaleX_, b0 = ky * scaleX_;  // first column
    const float c0 = kx * scaleY_, d0 = scaleY_;  // second column
    Mat4 m;
    m.m[0] = c * a0 - s * b0;
    m.m[1] = s * a0 + c * b0;
    m.m[4] = c * c0 - s * d0;
    m.m[5] = s * c0 + c * d0;
    m.m[10] = scaleZ_;
    // translation: position - L * anchor
    const float ax = anchorPointInPoints_.x;
    const float ay = anchorPointInPoints_.y;
    m.m[12] = x - (m.m[0] * ax + m.m[4] * ay);
    m.m[13] = y - (m.m[1] * ax + m.m[5] * ay);
    m.m[14] = positionZ_;
    transform_ = m;
    transformDirty_ = false;
    return transform_;
}

Mat4 Node::getNodeToWorldTransform() const {
    Mat4 t = getNodeToParentTransform();
    for (const Node* p = parent_; p != nullptr; p = p->parent_) t = p->getNodeToParentTransform() * t;
    return t;
}

Vec2 Node::convertToNodeSpace(const Vec2& worldPoint) const {
    return getWorldToNodeTransform().transformPoint(worldPoint);
}

Vec2 Node::convertToWorldSpace(const Vec2& nodePoint) const {
    return getNodeToWorldTransform().transformPoint(nodePoint);
}

Vec2 Node::convertToNodeSpaceAR(const Vec2& worldPoint) const {
    return convertToNodeSpace(worldPoint) - anchorPointInPoints_;
}

Vec2 Node::convertToWorldSpaceAR(const Vec2& nodePoint) const {
    return convertToWorldSpace(nodePoint + anchorPointInPoints_);
}

Rect Node::getBoundingBox() const {
    const Mat4& t = getNodeToParentTransform();
    const Vec2 corners[4] = {t.transformPoint(Vec2(0, 0)), t.transformPoint(Vec2(contentSize_.width, 0)),
                             t.transformPoint(Vec2(0, contentSize_.height)),
                             t.transformPoint(Vec2(contentSize_.width, contentSize_.height))};
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const Vec2& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return {minX, minY, maxX - minX, maxY - minY};
}

// ---------------------------------------------------------------- colour

void Node::setOpacity(uint8_t opacity) {
    displayedOpacity_ = realOpacity_ = opacity;
    updateCascadeOpacity();
}

void Node::updateDisplayedOpacity(uint8_t parentOpacity) {
    displayedOpacity_ = static_cast<uint8_t>(realOpacity_ * parentOpacity / 255);
    updateColor();
    if (cascadeOpacityEnabled_) {
        for (Node* child : children_) child->updateDisplayedOpacity(displayedOpacity_);
    }
}

void Node::setCascadeOpacityEnabled(bool enabled) {
    if (cascadeOpacityEnabled_ == enabled) return;
    cascadeOpacityEnabled_ = enabled;
    if (enabled) {
        updateCascadeOpacity();
    } else {
        disableCascadeOpacity();
    }
}

void Node::updateCascadeOpacity() {
    uint8_t parentOpacity = 255;
    if (parent_ != nullptr && parent_->isCascadeOpacityEnabled())
        parentOpacity = parent_->getDisplayedOpacity();
    updateDisplayedOpacity(parentOpacity);
}

void Node::disableCascadeOpacity() {
    displayedOpacity_ = realOpacity_;
    for (Node* child : children_) child->updateDisplayedOpacity(255);
}

void Node::setColor(const Color3B& color) {
    displayedColor_ = realColor_ = color;
    updateCascadeColor();
}

void Node::updateDisplayedColor(const Color3B& parentColor) {
    displayedColor_.r = static_cast<uint8_t>(realColor_.r * parentColor.r / 255);
    displayedColor_.g = static_cast<uint8_t>(realColor_.g * parentColor.g / 255);
    displayedColor_.b = static_cast<uint8_t>(realColor_.b * parentColor.b / 255);
    updateColor();
    if (cascadeColorEnabled_) {
        for (Node* child : children_) child->updateDisplayedColor(displayedColor_);
    }
}

void Node::setCascadeColorEnabled(bool enabled) {
    if (cascadeColorEnabled_ == enabled) return;
    cascadeColorEnabled_ = enabled;
    if (enabled) {
        updateCascadeColor();
    } else {
        disableCascadeColor();
    }
}

void Node::updateCascadeColor() {
    Color3B parentColor = Color3B::WHITE;
    if (parent_ != nullptr && parent_->isCascadeColorEnabled()) parentColor = parent_->getDisplayedColor();
    updateDisplayedColor(parentColor);
}

void Node::disableCascadeColor() {
    for (Node* child : children_) child->updateDisplayedColor(Color3B::WHITE);
}

// ---------------------------------------------------------------- life cycle

void Node::onEnter() {
    if (onEnterCallback_) onEnterCallback_();
    transitionFinished_ = false;
    // Children may be added or removed from inside onEnter: walk a copy.
    Vector<Node*> copy(children_);
    for (Node* child : copy) child->onEnter();
    resume();
    running_ = true;
}

void Node::onEnterTransitionDidFinish() {
    transitionFinished_ = true;
    Vector<Node*> copy(children_);
    for (Node* child : copy) child->onEnterTransitionDidFinish();
}

void Node::onExitTransitionDidStart() {
    Vector<Node*> copy(children_);
    for (Node* child : copy) child->onExitTransitionDidStart();
}

void Node::onExit() {
    if (onExitCallback_) onExitCallback_();
    pause();
    running_ = false;
    Vector<Node*> copy(children_);
    for (Node* child : copy) child->onExit();
}

void Node::cleanup() {
    stopAllActions();
    unscheduleAllCallbacks();
    Vector<Node*> copy(children_);
    for (Node* child : copy) child->cleanup();
}

// ---------------------------------------------------------------- drawing

void Node::visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!visible_) return;
    uint32_t flags = parentFlags;
    const Mat4 transform = parentTransform * getNodeToParentTransform();
    sortAllChildren();
    const auto& kids = children_.asStdVector();
    std::size_t i = 0;
    for (; i < kids.size() && kids[i]->localZOrder_ < 0; ++i) kids[i]->visit(context, transform, flags);
    draw(context, transform, flags);
    for (; i < kids.size(); ++i) kids[i]->visit(context, transform, flags);
}

// ---------------------------------------------------------------- actions

Action* Node::runAction(Action* action) {
    actionManager_->addAction(action, this, !running_);
    return action;
}

void Node::stopAllActions() {
    actionManager_->removeAllActionsFromTarget(this);
}

void Node::stopAction(Action* action) {
    actionManager_->removeAction(action);
}

void Node::stopActionByTag(int tag) {
    actionManager_->removeActionByTag(tag, this);
}

void Node::stopAllActionsByTag(int tag) {
    actionManager_->removeAllActionsByTag(tag, this);
}

Action* Node::getActionByTag(int tag) {
    return actionManager_->getActionByTag(tag, this);
}

std::size_t Node::getNumberOfRunningActions() const {
    return actionManager_->getNumberOfRunningActionsInTarget(this);
}

// ---------------------------------------------------------------- scheduling

void Node::scheduleUpdate() {
    scheduleUpdateWithPriority(0);
}

void Node::scheduleUpdateWithPriority(int priority) {
    scheduler_->scheduleUpdate(this, priority, !running_, [this](float dt) { update(dt); });
}

void Node::unscheduleUpdate() {
    scheduler_->unscheduleUpdate(this);
}

void Node::schedule(const std::function<void(float)>& callback, const std::string& key) {
    scheduler_->schedule(callback, this, 0.0f, !running_, key);
}

void Node::schedule(const std::function<void(float)>& callback, float interval, const std::string& key) {
    scheduler_->schedule(callback, this, interval, !running_, key);
}

void Node::schedule(const std::function<void(float)>& callback, float interval, unsigned int repeat,
                    float delay, const std::string& key) {
    scheduler_->schedule(callback, this, interval, repeat, delay, !running_, key);
}

void Node::scheduleOnce(const std::function<void(float)>& callback, float delay, const std::string& key) {
    scheduler_->schedule(callback, this, 0.0f, 0, delay, !running_, key);
}

void Node::schedule(SEL_SCHEDULE selector) {
    schedule(selector, 0.0f, Scheduler::REPEAT_FOREVER, 0.0f);
}

void Node::schedule(SEL_SCHEDULE selector, float interval) {
    schedule(selector, interval, Scheduler::REPEAT_FOREVER, 0.0f);
}

void Node::schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay) {
    scheduler_->schedule(selector, this, interval, repeat, delay, !running_);
}

void Node::scheduleOnce(SEL_SCHEDULE selector, float delay) {
    schedule(selector, 0.0f, 0, delay);
}

bool Node::isScheduled(const std::string& key) const {
    return scheduler_->isScheduled(key, this);
}

bool Node::isScheduled(SEL_SCHEDULE selector) const {
    return scheduler_->isScheduled(selector, this);
}

void Node::unschedule(const std::string& key) {
    scheduler_->unschedule(key, this);
}

void Node::unschedule(SEL_SCHEDULE selector) {
    scheduler_->unschedule(selector, this);
}

void Node::unscheduleAllCallbacks() {
    scheduler_->unscheduleAllForTarget(this);
}

void Node::pause() {
    scheduler_->pauseTarget(this);
    actionManager_->pauseTarget(this);
    eventDispatcher_->pauseEventListenersForTarget(this);
}

void Node::resume() {
    scheduler_->resumeTarget(this);
    actionManager_->resumeTarget(this);
    eventDispatcher_->resumeEventListenersForTarget(this);
}

}  // namespace cocos2d
