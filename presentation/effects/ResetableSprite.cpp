#include "presentation/effects/ResetableSprite.h"

ResetableSprite* ResetableSprite::create() {
    return cocos2d::createWithInit<ResetableSprite>();
}

void ResetableSprite::reset() {
    for (cocos2d::Node* child : getChildren()) {
        child->setPosition3D(cocos2d::Vec3::ZERO);
        child->setRotation3D(cocos2d::Vec3::ZERO);
        child->setOpacity(255);
        child->setVisible(true);
    }
}
