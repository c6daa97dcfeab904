#pragma once

#include <memory>
#include <string>

#include "engine/RefPtr.h"
#include "visuals/elements/ElementNodes.h"

// A lever's reactions: new state 0 plays "sound/lever/on1.mp3" at the lever
// (volume 0.5) and flips it through "lever_0001.png" to "lever_0006.png" in
// 1/6 s; 1 plays "sound/lever/off1.mp3" and flips back (frames 6 to 1);
// other states change nothing. The kept actions run as clones.
class LeverVisualMediator : public CocosVisualNodeMediator {
public:
    // node: the lever's sprite, which owns this mediator.
    explicit LeverVisualMediator(cocos2d::Node* node);

    void onStateChanged(u32 oldState, u32 newState) override;

    cocos2d::Action* getOnAction() const { return onAction_.get(); }
    cocos2d::Action* getOffAction() const { return offAction_.get(); }

private:
    cocos2d::Node* node_;
    cocos2d::RefPtr<cocos2d::Action> onAction_;
    cocos2d::RefPtr<cocos2d::Action> offAction_;
};

// A lever or switch (types 35, 59, 135): a one-tile sprite of the row's frame
// that owns its mediators and its Lever2D adapter (destroyed: visual
// mediator, node mediator, adapter).
class LeverCocos2D : public cocos2d::Sprite {
public:
    static LeverCocos2D* create(Zarn::Lever* lever, const std::string& frameName);
    bool initWithLever(Zarn::Lever* lever, const std::string& frameName);
    ~LeverCocos2D() override;

    void update(float dt) override;

    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    LeverVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    Zarn::Lever* element_ = nullptr;
    std::string frameName_;
    std::unique_ptr<Zarn::Lever2D> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<LeverVisualMediator> visual_;
};
