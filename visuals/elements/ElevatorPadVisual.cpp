#include "visuals/elements/ElevatorPadVisual.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "presentation/effects/DustPuffs.h"
#include "simulation/scene/SteerableVisualSync.h"
#include "simulation/scene/SteerableXDManager.h"
#include "simulation/scene/ZOrderCalculator.h"

using cocos2d::Vec2;

namespace {
cocos2d::Size boxOf(const cocos2d::Node* node) {
    const cocos2d::Size& size = node->getContentSize();
    return cocos2d::Size(size.width * node->getScaleX(), size.height * node->getScaleY());
}
}  // namespace

ElevatorPadVisualMediator::ElevatorPadVisualMediator(cocos2d::Sprite* pad, MapElementAnimations animations,
                                                     Zarn::SteerableXDManager* steerableVisuals,
                                                     const Zarn::ZOrderCalculator* zOrder)
    : ElementVisualMediator(pad, std::move(animations)),
      pad_(pad),
      steerableVisuals_(steerableVisuals),
      zOrder_(zOrder) {}

float ElevatorPadVisualMediator::liftHeight() {
    return 1.5f * cocos2d::Director::getInstance()->getVisibleSize().height;
}

void ElevatorPadVisualMediator::onStateChanged(u32, u32 newState) {
    if (newState == 1) {
        makeCarrier();
        if (carrier_ != nullptr) carrier_->runAction(createArrivalAction());
        return;
    }
    if (newState != 0 || carrier_ == nullptr) return;
    cocos2d::FiniteTimeAction* departure = nullptr;
    if (!runGuarded([&] { departure = createDepartureAction(); })) return;
    carrier_->runAction(departure);
    carrier_ = nullptr;
}

void ElevatorPadVisualMediator::makeCarrier() {
    using namespace cocos2d;
    Node* room = pad_->getParent();
    if (room == nullptr) return;
    carrier_ = Sprite::createWithSpriteFrameName("Elevator_Back.png");
    carrier_->setLocalZOrder(zOrder_->highYBase(pad_->getPositionY()));
    carrier_->setVisible(false);
    carrier_->setScale(0.4f);
    Sprite* box = Sprite::createWithSpriteFrameName("Elevator_Box.png");
    carrier_->addChild(box, 500);
    box->setPosition(box->getContentSize().width / 2.0f, box->getContentSize().height / 2.0f);
    carrier_->setPositionX(pad_->getPositionX());
    room->addChild(carrier_);
}

cocos2d::FiniteTimeAction* ElevatorPadVisualMediator::createArrivalAction() {
    using namespace cocos2d;
    const float h = liftHeight();
    carrier_->setPositionY(pad_->getPositionY() + h + boxOf(carrier_).height / 2.0f -
                           boxOf(pad_).height / 2.0f);
    Sprite* carrier = carrier_;
    return Sequence::create(positionalSoundAction(pad_, "sound/elevator_panel/button_press.mp3", 1.0f),
                            Show::create(), EaseOut::create(MoveBy::create(1.0f, Vec2(0.0f, -h)), 3.0f),
                            createDustBurst(),
                            positionalSoundAction(pad_, "sound/elevator_panel/transit_chime.mp3", 0.4f),
                            CallFunc::create([this, carrier] { startArrowBlink(carrier); }));
}

void ElevatorPadVisualMediator::startArrowBlink(cocos2d::Sprite* carrier) {
    using namespace cocos2d;
    Sprite* arrow = Sprite::createWithSpriteFrameName("Elevator_Arrow_1.png");
    carrier->addChild(arrow, 1001);
    arrow->setPosition(arrow->getContentSize().width / 2.0f, arrow->getContentSize().height / 2.0f);
    arrow->runAction(RepeatForever::create(
        createAnimateFromFrameNames({"Elevator_Arrow_1.png", "Elevator_Arrow_2.png"}, 0.25f)));
}

cocos2d::FiniteTimeAction* ElevatorPadVisualMediator::createDepartureAction() {
    using namespace cocos2d;
    const float h = liftHeight();
    Node* rider = nullptr;
    if (padState != nullptr && steerableVisuals_ != nullptr) {
        const u32 id = padState->payload;
        if (Zarn::NodeMediator* visual = steerableVisuals_->findVisualSteerable(id))
            rider = CocosNodeBase::engineSide(visual).getNode();
        Zarn::SteerableVisualSync* sync = steerableVisuals_->getVisualSync(id);
        if (sync != nullptr) sync->frozen = 1;
    }
    FiniteTimeAction* leave = Sequence::create(
        Spawn::create(createDustBurst(), EaseIn::create(MoveBy::create(1.0f, Vec2(0.0f, h)), 3.0f)),
        RemoveSelf::create(true));
    if (rider != nullptr)
        rider->runAction(Sequence::create(EaseIn::create(MoveBy::create(1.0f, Vec2(0.0f, h)), 3.0f)));
    return leave;
}

cocos2d::FiniteTimeAction* ElevatorPadVisualMediator::createDustBurst() {
    using namespace cocos2d;
    Node* room = pad_->getParent();
    if (room == nullptr) return DelayTime::create(0.4f);
    const int z = pad_->getLocalZOrder() + 100;
    Sprite* puffs[4];
    for (Sprite*& puff : puffs) {
        puff = Sprite::create();
        puff->setScale(pad_->getScaleX(), pad_->getScaleY());
        puff->setOpacity(230);
        puff->setLocalZOrder(z);
    }
    puffs[1]->setFlippedX(true);
    puffs[2]->setRotation(-35.0f);
    puffs[3]->setFlippedX(true);
    puffs[3]->setRotation(35.0f);
    for (Sprite* puff : puffs) room->addChild(puff);
    const Size box = boxOf(pad_);
    const Vec2 at = pad_->getPosition();
    puffs[0]->setPosition(at + Vec2(10.0f - box.width, 0.0f));
    puffs[1]->setPosition(at + Vec2(box.width - 10.0f, 0.0f));
    puffs[2]->setPosition(at + Vec2(10.0f - box.width, -2.0f * box.height / 3.0f));
    puffs[3]->setPosition(at + Vec2(box.width - 10.0f, -2.0f * box.height / 3.0f));
    return Spawn::create(TargetedAction::create(puffs[0], createDirectionalDustLarge()),
                         TargetedAction::create(puffs[1], createDirectionalDustLarge()),
                         TargetedAction::create(puffs[2], createDirectionalDustSmall()),
                         TargetedAction::create(puffs[3], createDirectionalDustSmall()));
}

// The pad node.

ElevatorPadCocos2D* ElevatorPadCocos2D::create(Zarn::ElevatorPad* pad, Zarn::TileVisualGroups* tileVisuals,
                                               const Zarn::ZOrderCalculator* zOrder,
                                               Zarn::SteerableXDManager* steerableVisuals) {
    return cocos2d::createWithMethod<ElevatorPadCocos2D>(&ElevatorPadCocos2D::initWithPad, pad, tileVisuals,
                                                         zOrder, steerableVisuals);
}

ElevatorPadCocos2D::~ElevatorPadCocos2D() {
    nodeMediator_.reset();
    visual_.reset();
    adapter_.reset();
}

bool ElevatorPadCocos2D::initWithPad(Zarn::ElevatorPad* pad, Zarn::TileVisualGroups* tileVisuals,
                                     const Zarn::ZOrderCalculator* zOrder,
                                     Zarn::SteerableXDManager* steerableVisuals) {
    if (!initWithSpriteFrameName("Elevator_Tile_1.png")) return false;
    element_ = pad;
    runAction(cocos2d::RepeatForever::create(
        createAnimateFromFrameNames(numberedFrames("Elevator_Tile_", 1, 3), 0.25f)));
    visual_ = std::make_unique<ElevatorPadVisualMediator>(this, defaultElementAnimations(), steerableVisuals,
                                                          zOrder);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::ElevatorPad2D>(pad, nodeMediator_.get(), tileVisuals, zOrder);
    adapter_->setupVisual();
    visual_->padState = &pad->state;
    return true;
}

void ElevatorPadCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
