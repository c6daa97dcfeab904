#include "visuals/elements/CatAndRoomba.h"

using cocos2d::Vec2;

const Vec2 CatCocos2D::kLeftPupilRest(18.0f, 43.0f);
const Vec2 CatCocos2D::kRightPupilRest(30.0f, 42.0f);
const Vec2 CatCocos2D::kLeftEyeCentre(21.0f, 42.0f);
const Vec2 CatCocos2D::kRightEyeCentre(33.0f, 41.0f);

std::optional<Vec2> pupilOffset(const Vec2& eyeWorld, const Vec2& target, bool mirrored, float travel) {
    if (target.distance(eyeWorld) < travel) return std::nullopt;
    Vec2 direction = target - eyeWorld;
    if (mirrored) direction.x = -direction.x;
    return direction.getNormalized() * travel;
}

CatCocos2D* CatCocos2D::create() {
    return cocos2d::createWithMethod<CatCocos2D>(&CatCocos2D::init);
}

bool CatCocos2D::init() {
    using namespace cocos2d;
    if (!initWithSpriteFrameName("cat_0.png")) return false;
    leftPupil_ = DrawNode::create(2.0f);
    rightPupil_ = DrawNode::create(2.0f);
    for (DrawNode* pupil : {leftPupil_, rightPupil_}) {
        pupil->drawSolidCircle(Vec2::ZERO, 2.0f, 0.0f, 10, 1.0f, 1.0f, Color4F(Color4B(211, 151, 79, 255)));
        addChild(pupil);
    }
    leftPupil_->setPosition(kLeftPupilRest);
    rightPupil_->setPosition(kRightPupilRest);
    return true;
}

void CatCocos2D::update(float) {
    if (player == nullptr) return;
    cocos2d::Node* playerParent = player->getParent();
    target_ = playerParent != nullptr ? playerParent->convertToWorldSpace(player->getPosition())
                                      : player->getPosition();
    movePupil(leftPupil_, kLeftEyeCentre);
    movePupil(rightPupil_, kRightEyeCentre);
}

void CatCocos2D::movePupil(cocos2d::DrawNode* pupil, const Vec2& eyeCentre) {
    const std::optional<Vec2> offset =
        pupilOffset(convertToWorldSpace(eyeCentre), target_, mirrored, kPupilTravel);
    if (offset) pupil->setPosition(eyeCentre + *offset);
}

RoombaCocos2D* RoombaCocos2D::create(const Zarn::ZOrderCalculator* zOrder) {
    return cocos2d::createWithMethod<RoombaCocos2D>(&RoombaCocos2D::initWithCalculator, zOrder);
}

RoombaCocos2D::~RoombaCocos2D() {
    nodeMediator_.reset();
}

bool RoombaCocos2D::initWithCalculator(const Zarn::ZOrderCalculator* zOrder) {
    if (!Sprite::init()) return false;
    zOrder_ = zOrder;
    body_ = cocos2d::Sprite::createWithSpriteFrameName("roomba.png");
    addChild(body_);
    const cocos2d::Size size = body_->getContentSize();
    setContentSize(size);
    body_->setPosition(size.width / 2.0f, size.height / 2.0f);
    cat_ = CatCocos2D::create();
    if (cat_ == nullptr) return false;
    cat_->setPosition(size.width / 2.0f + 10.0f, size.height / 2.0f + 20.0f);
    addChild(cat_);
    scheduleUpdate();
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, &Zarn::NullVisualNodeMediator::instance());
    return true;
}

void RoombaCocos2D::attachUnit(Zarn::SteerableUnit* unit) {
    sync_ = SteerableUnitSync(unit, zOrder_);
}

void RoombaCocos2D::update(float) {
    if (!sync_.hasUnit()) return;
    sync_.update();
    const GeometryLib::FPoint& p = sync_.getPosition();
    setPosition(p.x, p.y);
    body_->setRotation(sync_.getRotation());
    setLocalZOrder(sync_.getZOrder());
}
