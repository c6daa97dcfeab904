#pragma once

#include "engine/Node.h"

namespace cocos2d {

// Shows its children only where its stencil node draws (alpha above the
// threshold), or only where it does not when inverted. The stencil is drawn in
// the clipping node's space and never shown itself.
class ClippingNode : public Node {
public:
    static ClippingNode* create();
    static ClippingNode* create(Node* stencil);
    ~ClippingNode() override;
    bool init() override;
    virtual bool init(Node* stencil);

    Node* getStencil() const { return stencil_; }
    void setStencil(Node* stencil);
    bool hasContent() const { return !children_.empty(); }
    float getAlphaThreshold() const { return alphaThreshold_; }
    void setAlphaThreshold(float threshold) { alphaThreshold_ = threshold; }
    bool isInverted() const { return inverted_; }
    void setInverted(bool inverted) { inverted_ = inverted; }

    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExitTransitionDidStart() override;
    void onExit() override;
    void visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) override;

private:
    Node* stencil_ = nullptr;  // retained; runs its actions with this node
    float alphaThreshold_ = 1.0f;
    bool inverted_ = false;
};

// Shows its children only inside a rectangle of its own space.
class ClippingRectangleNode : public Node {
public:
    static ClippingRectangleNode* create();
    static ClippingRectangleNode* create(const Rect& clippingRegion);
    const Rect& getClippingRegion() const { return clippingRegion_; }
    void setClippingRegion(const Rect& region) { clippingRegion_ = region; }
    bool isClippingEnabled() const { return clippingEnabled_; }
    void setClippingEnabled(bool enabled) { clippingEnabled_ = enabled; }

    void visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags) override;

private:
    Rect clippingRegion_;
    bool clippingEnabled_ = true;
};

}  // namespace cocos2d
