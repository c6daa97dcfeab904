#include "presentation/players/SteerableCocos2D.h"

SteerableCocos2D* SteerableCocos2D::create(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder,
                                           const Zarn::Player2DAssets& assets) {
    return cocos2d::createWithMethod<SteerableCocos2D>(&SteerableCocos2D::initWithUnit, unit, zOrder, assets);
}

SteerableCocos2D::~SteerableCocos2D() {
    controller_.reset();
    sync_.reset();
    mediator_.reset();
}

bool SteerableCocos2D::initWithUnit(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder,
                                    const Zarn::Player2DAssets& assets) {
    if (assets.frames[3].empty() || !initWithSpriteFrameName(assets.frames[3].front())) return false;
    unit_ = unit;
    zOrder_ = zOrder;
    mediator_ = std::make_unique<CocosNode1Mediator>(this, &delegate_);
    controller_ = std::make_unique<Player2DAnimController>(this, zOrder, assets);
    sync_ = std::make_unique<Zarn::SteerableVisualSync>(mediator_.get(), unit, controller_.get(), zOrder);
    mediator_->setRotation(0.0f);
    sync_->rotate = 0;
    return true;
}
