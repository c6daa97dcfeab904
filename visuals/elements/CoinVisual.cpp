#include "visuals/elements/CoinVisual.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"

using cocos2d::Vec2;

CoinVisualMediator::CoinVisualMediator(cocos2d::Node* node, MapElementAnimations animations)
    : ElementVisualMediator(node, std::move(animations)) {
    using namespace cocos2d;
    spinAction_ = RepeatForever::create(
        createAnimateFromFrameNames(numberedFrames("coin_", 1, 5, ".png", 4), 1.0f / 12.0f));
    collectAction_ = Sequence::create(
        Spawn::create(ScaleBy::create(0.2f, 2.5f), MoveBy::create(0.1f, Vec2(0.0f, 100.0f))),
        EaseIn::create(Spawn::create(MoveBy::create(0.3f, Vec2(640.0f, 640.0f)), FadeOut::create(0.3f)),
                       3.0f),
        RemoveSelf::create(true));
    bobAction_ = RepeatForever::create(
        Sequence::create(MoveBy::create(0.5f, Vec2(0.0f, 5.0f)), MoveBy::create(0.5f, Vec2(0.0f, -5.0f))));
}

void CoinVisualMediator::onStateChanged(u32, u32 newState) {
    using namespace cocos2d;
    if (newState == 0) {
        shadow_ = DrawNode::create(2.0f);
        Color4F grey = Color4F::GRAY;
        grey.a = 0.5f;
        shadow_->drawSolidCircle(Vec2::ZERO, 10.0f, 0.0f, 50, 1.0f, 0.6f, grey);
        node_->addChild(shadow_);
        shadow_->setPosition(node_->getContentSize().width / 2.0f, -10.0f);
        shadow_->runAction(RepeatForever::create(
            Spawn::create(Sequence::create(MoveBy::create(0.5f, Vec2(0.0f, -12.5f)),
                                           MoveBy::create(0.5f, Vec2(0.0f, 12.5f))),
                          Sequence::create(ScaleTo::create(0.5f, 0.7f), ScaleTo::create(0.5f, 1.0f)))));
        node_->runAction(spinAction_->clone());
        node_->runAction(bobAction_->clone());
    } else if (newState == 3) {
        if (shadow_ != nullptr) shadow_->removeFromParentAndCleanup(true);
        shadow_ = nullptr;
        node_->runAction(collectAction_->clone());
    }
}
