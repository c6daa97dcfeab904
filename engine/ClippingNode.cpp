#include "engine/ClippingNode.h"

#include "engine/DrawList.h"

namespace cocos2d {

ClippingNode* ClippingNode::create() {
    return createWithInit<ClippingNode>();
}

ClippingNode* ClippingNode::create(Node* stencil) {
    auto* node = new ClippingNode();
    if (node->init(stencil)) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

ClippingNode::~ClippingNode() {
    if (stencil_ != nullptr) {
        stencil_->stopAllActions();
        stencil_->release();
    }
}

bool ClippingNode::init() {
    return init(nullptr);
}

bool ClippingNode::init(Node* stencil) {
    if (!Node::init()) return false;
    setStencil(stencil);
    alphaThreshold_ = 1.0f;
    inverted_ = false;
    return true;
}

void ClippingNode::setStencil(Node* stencil) {
    if (stencil == stencil_) return;
    CC_SAFE_RETAIN(stencil);
    if (stencil_ != nullptr) {
        if (running_) {
            stencil_->onExitTransitionDidStart();
            stencil_->onExit();
        }
        stencil_->setParent(nullptr);
        stencil_->release();
    }
    stencil_ = stencil;
    if (stencil_ != nullptr) {
        // The stencil lives in this node's space and enters with it.
        stencil_->setParent(this);
        if (running_) {
            stencil_->onEnter();
            stencil_->onEnterTransitionDidFinish();
        }
    }
}

void ClippingNode::onEnter() {
    Node::onEnter();
    if (stencil_ != nullptr) stencil_->onEnter();
}

void ClippingNode::onEnterTransitionDidFinish() {
    Node::onEnterTransitionDidFinish();
    if (stencil_ != nullptr) stencil_->onEnterTransitionDidFinish();
}

void ClippingNode::onExitTransitionDidStart() {
    if (stencil_ != nullptr) stencil_->onExitTransitionDidStart();
    Node::onExitTransitionDidStart();
}

void ClippingNode::onExit() {
    if (stencil_ != nullptr) stencil_->onExit();
    Node::onExit();
}

void ClippingNode::visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!visible_ || !hasContent()) return;
    if (stencil_ == nullptr) {
        // Nothing to clip to: an inverted clip shows everything, a plain one
        // nothing.
        if (inverted_) Node::visit(context, parentTransform, parentFlags);
        return;
    }
    const Mat4 transform = parentTransform * getNodeToParentTransform();
    ClipRegion region;
    region.kind = ClipRegion::Kind::Stencil;
    region.parent = context.currentClip;
    region.alphaThreshold = alphaThreshold_;
    region.inverted = inverted_;
    const bool wasStencil = context.intoStencil;
    const std::size_t first = context.list.stencils.size();
    context.intoStencil = true;
    stencil_->visit(context, transform, parentFlags);
    context.intoStencil = wasStencil;
    region.firstStencil = first;
    region.stencilCount = context.list.stencils.size() - first;
    const int saved = context.currentClip;
    context.currentClip = static_cast<int>(context.list.clips.size());
    context.list.clips.push_back(std::move(region));
    Node::visit(context, parentTransform, parentFlags);
    context.currentClip = saved;
}

ClippingRectangleNode* ClippingRectangleNode::create() {
    return createWithInit<ClippingRectangleNode>();
}

ClippingRectangleNode* ClippingRectangleNode::create(const Rect& clippingRegion) {
    ClippingRectangleNode* node = create();
    if (node != nullptr) node->setClippingRegion(clippingRegion);
    return node;
}

void ClippingRectangleNode::visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!visible_) return;
    if (!clippingEnabled_) {
        Node::visit(context, parentTransform, parentFlags);
        return;
    }
    const Mat4 transform = parentTransform * getNodeToParentTransform();
    ClipRegion region;
    region.kind = ClipRegion::Kind::Rect;
    region.parent = context.currentClip;
    const Rect& r = clippingRegion_;
    region.corners[0] = transform.transformPoint(Vec2(r.getMinX(), r.getMinY()));
    region.corners[1] = transform.transformPoint(Vec2(r.getMaxX(), r.getMinY()));
    region.corners[2] = transform.transformPoint(Vec2(r.getMaxX(), r.getMaxY()));
    region.corners[3] = transform.transformPoint(Vec2(r.getMinX(), r.getMaxY()));
    const int saved = context.currentClip;
    context.currentClip = static_cast<int>(context.list.clips.size());
    context.list.clips.push_back(region);
    Node::visit(context, parentTransform, parentFlags);
    context.currentClip = saved;
}

}  // namespace cocos2d
