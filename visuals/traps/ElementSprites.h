#pragma once

#include <memory>

#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"

// A visual mediator that acts on one node, which the sprite that takes it
// sets (the sprite owns the mediator, so the node outlives it). Main thread
// only.
class NodeBoundVisualMediator : public CocosVisualNodeMediator {
public:
    virtual void setNode(cocos2d::Node* node) { node_ = node; }
    cocos2d::Node* getNode() const { return node_; }

protected:
    cocos2d::Node* node_ = nullptr;
};

// The default show and hide actions of element visuals: show = Show, then
// scale to 0.4 while fading in (0.3 s); hide = scale to 0.08 while fading
// out (0.3 s), then Hide. Fresh actions on each call.
MapElementAnimations defaultElementAnimations();

// A plain sprite that owns its visual mediator and its node mediator: the
// pictures that an adapter makes for a trap's parts (vortices, flips).
// Engine create pattern; main thread only.
class MediatedAnimatedSprite : public cocos2d::Sprite {
public:
    // Takes the mediator. A null frame makes an empty sprite. Null when the
    // sprite cannot be made.
    static MediatedAnimatedSprite* create(cocos2d::SpriteFrame* frame,
                                          std::unique_ptr<NodeBoundVisualMediator> mediator);
    ~MediatedAnimatedSprite() override;

    bool initWithMediator(cocos2d::SpriteFrame* frame, std::unique_ptr<NodeBoundVisualMediator> mediator);

    // Owned by the sprite.
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    NodeBoundVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    std::unique_ptr<NodeBoundVisualMediator> visual_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
};
