#include "visuals/traps/RedGreenSign.h"

#include <algorithm>

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "visuals/traps/ElementSprites.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

namespace {

float waitOf(float length) {
    return std::max(length - 0.1f, 0.0f);
}
float switchOf(float length) {
    return std::min(0.1f, waitOf(length));
}

}  // namespace

SignStep signStep(u8 oldState, u8 newState, float startDelay, float activeTime, float restTime) {
    const float d = clampDuration(startDelay);
    const float a = clampDuration(activeTime);
    const float i = clampDuration(restTime);
    SignStep s;
    switch (newState) {
        case 0:
            if (oldState != 3) return s;
            s.act = s.goFirst = s.switches = s.bar = true;
            s.wait = waitOf(i / 2.0f + d);
            s.switchTime = switchOf(i / 2.0f + d);
            s.toGo = false;
            s.barTime = i / 2.0f + d;
            s.barPercent = 0.0f;
            return s;
        case 1:
            s.act = s.switches = s.bar = true;
            s.wait = waitOf(a);
            s.switchTime = switchOf(a);
            s.toGo = true;
            s.barTime = std::max(a - 0.05f, 0.0f);
            s.barPercent = 100.0f;
            return s;
        case 2:
            s.act = s.switches = s.bar = true;
            s.wait = waitOf(i);
            s.switchTime = switchOf(i);
            s.toGo = false;
            s.barTime = i;
            s.barPercent = 0.0f;
            return s;
        case 3:
            s.act = s.stopFirst = s.goFirst = true;
            return s;
        default:
            return s;
    }
}

RGProgressBar* RGProgressBar::create() {
    return createWithInit<RGProgressBar>();
}

bool RGProgressBar::init() {
    if (!initWithSpriteFrameName("Progress_Red.png")) return false;
    timer_ = ProgressTimer::create(Sprite::createWithSpriteFrameName("Progress_Green.png"));
    addChild(timer_, 100);
    const Size size = getContentSize();
    timer_->setPosition(Vec2(size.width / 2.0f, size.height / 2.0f));
    timer_->setPercentage(100.0f);
    timer_->setType(ProgressTimer::Type::BAR);
    timer_->setBarChangeRate(Vec2(1.0f, 0.0f));
    timer_->setMidpoint(Vec2(0.0f, 0.0f));
    return true;
}

RedGreenSign* RedGreenSign::create() {
    return createWithInit<RedGreenSign>();
}

bool RedGreenSign::init() {
    if (!initWithSpriteFrameName("red_green_base.png")) return false;
    hand_ = Sprite::createWithSpriteFrameName("red_green_hand.png");
    man_ = Sprite::createWithSpriteFrameName("red_green_man.png");
    for (Sprite* light : {hand_, man_}) {
        addChild(light);
        light->setOpacity(0);
        light->setPosition(Vec2(210.0f, 107.0f));
    }
    man_->setColor(Color3B::GREEN);
    hand_->setColor(Color3B::RED);
    bar_ = RGProgressBar::create();
    bar_->getTimer()->setPercentage(100.0f);
    addChild(bar_);
    bar_->setPosition(Vec2(208.0f, getContentSize().height + 10.0f));
    bar_->setScale(0.85f);
    return true;
}

namespace {

FiniteTimeAction* swap(Node* leaving, Node* coming, float duration) {
    const float half = clampDuration(duration) / 2.0f;
    return Sequence::create(TargetedAction::create(leaving, EaseOut::create(FadeOut::create(half), 3.0f)),
                            TargetedAction::create(coming, EaseIn::create(FadeIn::create(half), 3.0f)));
}

}  // namespace

FiniteTimeAction* RedGreenSign::showGo(float duration) {
    return swap(hand_, man_, duration);
}

FiniteTimeAction* RedGreenSign::showStop(float duration) {
    return swap(man_, hand_, duration);
}

FiniteTimeAction* RedGreenSign::progressTo(float duration, float percent) {
    return TargetedAction::create(bar_->getTimer(), ProgressTo::create(clampDuration(duration), percent));
}

RedGreen2DVisualMediator::RedGreen2DVisualMediator(RedGreenSign* sign,
                                                   const Zarn::IntervalTrapElement* record)
    : MapElement2DVisualMediator(sign, defaultElementAnimations()), record_(record), sign_(sign) {}

void RedGreen2DVisualMediator::run(FiniteTimeAction* action) {
    action->setTag(kSignActionTag);
    sign_->runAction(action);
}

void RedGreen2DVisualMediator::onStateChanged(u32 oldState, u32 newState) {
    if (oldState > 255 || newState > 255) return;
    const SignStep s = signStep(static_cast<u8>(oldState), static_cast<u8>(newState), record_->startDelay,
                                record_->activeTime, record_->restTime);
    if (!s.act) return;
    if (s.stopFirst) sign_->stopAllActionsByTag(kSignActionTag);
    if (s.switches) {
        Vector<FiniteTimeAction*> figure;
        if (s.goFirst) figure.pushBack(sign_->showGo(0.0f));
        figure.pushBack(DelayTime::create(s.wait));
        figure.pushBack(s.toGo ? sign_->showGo(s.switchTime) : sign_->showStop(s.switchTime));
        run(Sequence::create(figure));
    } else if (s.goFirst) {
        run(sign_->showGo(0.0f));
    }
    if (s.bar) run(sign_->progressTo(s.barTime, s.barPercent));
}

RedGreenSignCocos2D* RedGreenSignCocos2D::create(Zarn::IntervalTrap* trap,
                                                 Zarn::TileVisualGroups* tileVisuals,
                                                 const Zarn::ZOrderCalculator* zOrder) {
    return createWithMethod<RedGreenSignCocos2D>(&RedGreenSignCocos2D::initWithTrap, trap, tileVisuals,
                                                 zOrder);
}

RedGreenSignCocos2D::~RedGreenSignCocos2D() {
    nodeMediator_.reset();
    adapter_.reset();
    visual_.reset();
}

bool RedGreenSignCocos2D::initWithTrap(Zarn::IntervalTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                                       const Zarn::ZOrderCalculator* zOrder) {
    if (!Sprite::init()) return false;
    sign_ = RedGreenSign::create();
    if (sign_ == nullptr) return false;
    setContentSize(sign_->getContentSize());
    addChild(sign_);
    sign_->setPosition(Vec2(getContentSize().width / 2.0f, getContentSize().height / 2.0f));
    visual_ = std::make_unique<RedGreen2DVisualMediator>(sign_, &trap->intervalRecord());
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::IntervalTrap2D>(trap, nodeMediator_.get(), tileVisuals, zOrder);
    adapter_->coversTiles = false;
    adapter_->setupVisual();
    return true;
}

void RedGreenSignCocos2D::update(float) {
    runGuarded([this] { adapter_->syncVisual(); });
}
