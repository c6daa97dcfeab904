#include "visuals/elements/LeverVisual.h"

#include "engine/ActionInterval.h"

LeverVisualMediator::LeverVisualMediator(cocos2d::Node* node)
    : node_(node),
      onAction_(createAnimateFromFrameNames(numberedFrames("lever_", 1, 6, ".png", 4), 1.0f / 36.0f)),
      offAction_(onAction_->reverse()) {}

void LeverVisualMediator::onStateChanged(u32, u32 newState) {
    if (newState != 0 && newState != 1) return;
    const bool on = newState == 0;
    playPositional(node_, on ? "sound/lever/on1.mp3" : "sound/lever/off1.mp3", 0.5f);
    node_->runAction((on ? onAction_ : offAction_)->clone());
}

LeverCocos2D* LeverCocos2D::create(Zarn::Lever* lever, const std::string& frameName) {
    return cocos2d::createWithMethod<LeverCocos2D>(&LeverCocos2D::initWithLever, lever, frameName);
}

LeverCocos2D::~LeverCocos2D() {
    visual_.reset();
    nodeMediator_.reset();
    adapter_.reset();
}

bool LeverCocos2D::initWithLever(Zarn::Lever* lever, const std::string& frameName) {
    if (!initWithSpriteFrameName(frameName)) return false;
    element_ = lever;
    frameName_ = frameName;
    visual_ = std::make_unique<LeverVisualMediator>(this);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::Lever2D>(lever, nodeMediator_.get());
    adapter_->setupVisual();
    return true;
}

void LeverCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
