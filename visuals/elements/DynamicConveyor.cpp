#include "visuals/elements/DynamicConveyor.h"

#include "engine/ClippingNode.h"

using cocos2d::Vec2;

float conveyorScrollStep(float offset, float speed, float dt) {
    offset += speed * dt / 0.4f;
    if (offset > 160.0f) offset -= 160.0f;
    return offset;
}

DynamicConveyor* DynamicConveyor::create() {
    return cocos2d::createWithMethod<DynamicConveyor>(&DynamicConveyor::init);
}

bool DynamicConveyor::init() {
    using namespace cocos2d;
    if (!Sprite::init()) return false;
    setContentSize(Size(160.0f, 160.0f));
    setCascadeOpacityEnabled(true);
    DrawNode* stencil = DrawNode::create(2.0f);
    stencil->drawSolidRect(Vec2::ZERO, Vec2(160.0f, 160.0f), Color4F::BLACK);
    ClippingNode* clip = ClippingNode::create(stencil);
    arrows_ = Sprite::createWithSpriteFrameName("conveyor_arrows.png");
    if (clip == nullptr || arrows_ == nullptr) return false;
    arrowsBasePosition_ = Vec2(0.0f, arrows_->getContentSize().height / 2.0f - 3.604f);
    arrows_->setPosition(arrowsBasePosition_);
    arrows_->setColor(Color3B(238, 210, 52));
    border_ = DrawNode::create(2.0f);
    background_ = DrawNode::create(2.0f);
    background_->drawSolidRect(Vec2::ZERO, Vec2(160.0f, 160.0f), Color4F(Color4B(76, 73, 82, 255)));
    const std::vector<Vec2> frame{Vec2(2.0f, 2.0f), Vec2(158.0f, 2.0f), Vec2(158.0f, 158.0f),
                                  Vec2(2.0f, 158.0f)};
    border_->drawPolygon(frame, 4, Color4F(0.0f, 0.0f, 0.0f, 0.0f), 2.0f, Color4F::BLACK);
    addChild(background_);
    addChild(clip);
    clip->addChild(arrows_);
    clip->setCascadeOpacityEnabled(true);
    addChild(border_);
    return true;
}

void DynamicConveyor::update(float dt) {
    if (!running) return;
    scrollOffset_ = conveyorScrollStep(scrollOffset_, speed, dt);
    arrows_->setPositionX(arrowsBasePosition_.x + scrollOffset_);
}
