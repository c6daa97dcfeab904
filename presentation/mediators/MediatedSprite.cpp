#include "presentation/mediators/MediatedSprite.h"

#include "engine/SpriteFrameCache.h"

MediatedSprite* MediatedSprite::create() {
    return cocos2d::createWithInit<MediatedSprite>();
}

MediatedSprite* MediatedSprite::createWithSpriteFrameName(const std::string& name) {
    return cocos2d::createWithMethod<MediatedSprite>(
        &MediatedSprite::initWithSpriteFrame,
        cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(name));
}

void MediatedSprite::makeMediator() {
    mediator_ = std::make_unique<CocosNode1Mediator>(this, &Zarn::NullVisualNodeMediator::instance());
}

bool MediatedSprite::init() {
    if (!Sprite::init()) return false;
    makeMediator();
    return true;
}

bool MediatedSprite::initWithSpriteFrame(cocos2d::SpriteFrame* frame) {
    if (!Sprite::initWithSpriteFrame(frame)) return false;
    makeMediator();
    return true;
}
