#include "presentation/players/Steerable3DSubsitute.h"

#include "engine/Animation3D.h"
#include "foundation/Error.h"

using namespace cocos2d;

Steerable3DSubsituteFactoryImpl::Steerable3DSubsituteFactoryImpl(Zarn::SteerableUnit* unit,
                                                                 const Zarn::ZOrderCalculator* zOrder,
                                                                 const Zarn::Player3DAssets& assets)
    : unit_(unit), zOrder_(zOrder), assets_(assets), substitute_(assets) {
    substitute_.models.files[0] = assets_.models.files[4];
    substitute_.further.files[0] = "Squash_Rig|Walk";
}

Node* Steerable3DSubsituteFactoryImpl::createSubsitute(u8 kind) {
    if (kind != 0) throw Convinience::Error("no such subsitute");
    Zarn::SteerableUnit* unit = unit_.get();
    if (unit == nullptr) return nullptr;
    auto* visual = SteerableCocos3D<Player3DAnimSubController>::create(unit, zOrder_, substitute_, this);
    if (visual == nullptr) return nullptr;
    visual->scheduleUpdate();
    visual->setScale(0.25f);
    Sprite3D* hat = Sprite3D::create(substitute_.models.files[1]);
    visual->getAttachNode("Hat")->addChild(hat);
    hat->setScale(1.0f / hat->getScale());
    Sprite3D* eyebrows = Sprite3D::create(substitute_.models.files[2]);
    visual->getAttachNode("Eyebrows")->addChild(eyebrows);
    eyebrows->setScale(1.0f);
    visual->getMeshByName("Head")->setTexture(substitute_.heads.files[4]);
    return visual;
}

Player3DAnimSubController::Player3DAnimSubController(Sprite3D* visual, const Zarn::ZOrderCalculator* zOrder,
                                                     const Zarn::Player3DAssets& assets,
                                                     Steerable3DSubsituteFactory*)
    : CocosPlayerAnimController(visual, zOrder) {
    Animate3D* walk = Animate3D::create(Animation3D::create(assets.models.files[0], assets.further.files[0]));
    walk->setSpeed(4.0f);
    add(kRunKey, visual, RepeatForever::create(walk));
}

void Player3DAnimSubController::startRunning() {
    play(kRunKey);
    running_ = true;
}

void Player3DAnimSubController::stopRunning() {
    stop(kRunKey);
    running_ = false;
}
