#include "visuals/traps/ElementSprites.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"

MapElementAnimations defaultElementAnimations() {
    using namespace cocos2d;
    MapElementAnimations a;
    a.showAction =
        Sequence::create(Show::create(), Spawn::create(ScaleTo::create(0.3f, 0.4f), FadeIn::create(0.3f)));
    a.hideAction =
        Sequence::create(Spawn::create(ScaleTo::create(0.3f, 0.08f), FadeOut::create(0.3f)), Hide::create());
    return a;
}

MediatedAnimatedSprite* MediatedAnimatedSprite::create(cocos2d::SpriteFrame* frame,
                                                       std::unique_ptr<NodeBoundVisualMediator> mediator) {
    return cocos2d::createWithMethod<MediatedAnimatedSprite>(&MediatedAnimatedSprite::initWithMediator, frame,
                                                             std::move(mediator));
}

MediatedAnimatedSprite::~MediatedAnimatedSprite() {
    nodeMediator_.reset();
    visual_.reset();
}

bool MediatedAnimatedSprite::initWithMediator(cocos2d::SpriteFrame* frame,
                                              std::unique_ptr<NodeBoundVisualMediator> mediator) {
    const bool ready = frame != nullptr ? (initWithSpriteFrame(frame) || Sprite::init()) : Sprite::init();
    if (!ready || mediator == nullptr) return false;
    visual_ = std::move(mediator);
    visual_->setNode(this);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    return true;
}
