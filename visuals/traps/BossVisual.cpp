#include "visuals/traps/BossVisual.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/Scene.h"
#include "presentation/audio/SoundPlayer.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "visuals/traps/VisualActions.h"
#include "world/units/SteerableUnitManager.h"

using namespace cocos2d;

std::string bossMusicFile(u8 stage) {
    if (stage < 1 || stage > 4) return {};
    return "sound/music/boss" + std::to_string(stage) + ".mp3";
}

Boss2DVisualMediator::Boss2DVisualMediator(Node* node, BossEye* leftEye, BossEye* rightEye, BossEyeBrow* brow,
                                           const Zarn::BossElement* record,
                                           const Zarn::ZOrderCalculator* zOrder)
    : node_(node), leftEye_(leftEye), rightEye_(rightEye), brow_(brow), record_(record), zOrder_(zOrder) {}

FiniteTimeAction* Boss2DVisualMediator::call(void (Boss2DVisualMediator::*step)()) {
    return guardedCall([this, step] { (this->*step)(); });
}

void Boss2DVisualMediator::resumeTracking() {
    for (BossEye* eye : {leftEye_.get(), rightEye_.get()}) {
        eye->tracking = 1;
        eye->scheduleUpdate();
    }
}

void Boss2DVisualMediator::lowerNode() {
    node_->setLocalZOrder(zOrder_->yBase(node_->getPositionY()) - 10);
}

void Boss2DVisualMediator::raiseNode() {
    node_->setLocalZOrder(zOrder_->highY(node_->getPositionY()) + 100);
}

void Boss2DVisualMediator::startMusic() {
    if (musicStarted_) return;
    musicStarted_ = 1;
    SoundPlayer* player = SoundPlayer::getInstance();
    player->stopAllMusic();
    const std::string track = bossMusicFile(record_->phaseCount);
    if (!track.empty()) musicHandle_ = player->playMusicLooped(track, 0.75f, 1.0f);
}

void Boss2DVisualMediator::onStateChanged(u32 oldState, u32 newState) {
    for (BossEye* eye : {leftEye_.get(), rightEye_.get()}) {
        eye->tracking = 0;
        eye->unscheduleUpdate();
    }
    const float cannonTime = clampDuration(record_->cannonTime);
    switch (newState) {
        case 0:
            lowerNode();
            node_->runAction(Sequence::create(
                TargetedAction::create(brow_.get(), brow_->leave(1.0f)),
                Spawn::create(TargetedAction::create(leftEye_.get(), leftEye_->lower(0.6f)),
                              TargetedAction::create(rightEye_.get(), rightEye_->lower(0.6f)))));
            if (musicHandle_ != -1) SoundPlayer::getInstance()->stopMusic(musicHandle_);
            return;
        case 1:
            if (oldState != 0) return;
            startMusic();
            brow_->runAction(Sequence::create(DelayTime::create(0.6f), brow_->enter(1.0f)));
            for (BossEye* eye : {leftEye_.get(), rightEye_.get()})
                eye->runAction(Sequence::create(eye->raise(0.6f), call(&Boss2DVisualMediator::raiseNode)));
            return;
        case 2:
            for (BossEye* eye : {leftEye_.get(), rightEye_.get()}) eye->runAction(eye->angry());
            return;
        case 3:
            for (BossEye* eye : {leftEye_.get(), rightEye_.get()}) eye->runAction(eye->happy());
            return;
        case 4:
            brow_->runAction(brow_->lift());
            leftEye_->runAction(Sequence::create(leftEye_->shutterRise(), DelayTime::create(0.5f),
                                                 call(&Boss2DVisualMediator::resumeTracking)));
            rightEye_->runAction(rightEye_->shutterRise());
            return;
        case 5:
        case 8: {
            const float t = newState == 5 ? 0.5f : 1.0f;
            brow_->runAction(brow_->angryShake(t));
            leftEye_->runAction(Sequence::create(leftEye_->shutterCalibration(t), DelayTime::create(0.5f),
                                                 call(&Boss2DVisualMediator::resumeTracking)));
            rightEye_->runAction(rightEye_->shutterCalibration(t));
            return;
        }
        case 6:
            brow_->runAction(Sequence::create(DelayTime::create(1.0f), brow_->damaged()));
            for (BossEye* eye : {leftEye_.get(), rightEye_.get()})
                eye->runAction(Sequence::create(DelayTime::create(1.0f), eye->explode()));
            return;
        case 7:
            brow_->runAction(Sequence::create(
                brow_->leave(0.3f), DelayTime::create(clampDuration(cannonTime - 0.5f)), brow_->enter(1.0f)));
            for (BossEye* eye : {leftEye_.get(), rightEye_.get()}) {
                eye->runAction(Sequence::create(call(&Boss2DVisualMediator::lowerNode), eye->lower(0.6f),
                                                DelayTime::create(clampDuration(cannonTime - 1.0f)),
                                                eye->raise(1.0f), call(&Boss2DVisualMediator::raiseNode)));
            }
            return;
        case 9:
            leftEye_->runAction(Sequence::create(leftEye_->angry(), DelayTime::create(0.5f),
                                                 call(&Boss2DVisualMediator::resumeTracking)));
            rightEye_->runAction(rightEye_->angry());
            return;
        case 10:
            for (BossEye* eye : {leftEye_.get(), rightEye_.get()}) eye->runAction(eye->crack());
            return;
        default:
            return;
    }
}

BossCocos2D* BossCocos2D::create(Zarn::Boss* boss, Zarn::TileVisualGroups* tileVisuals,
                                 const Zarn::ZOrderCalculator* zOrder,
                                 const Zarn::SteerableUnitManager* players) {
    return createWithMethod<BossCocos2D>(&BossCocos2D::initWithBoss, boss, tileVisuals, zOrder, players);
}

BossCocos2D::~BossCocos2D() {
    if (healthBar_) healthBar_->removeFromParentAndCleanup(true);
    healthBar_.reset();
    adapter_.reset();
    visual_.reset();
    nodeMediator_.reset();
}

bool BossCocos2D::initWithBoss(Zarn::Boss* boss, Zarn::TileVisualGroups* tileVisuals,
                               const Zarn::ZOrderCalculator* zOrder,
                               const Zarn::SteerableUnitManager* players) {
    if (!Sprite::init()) return false;
    boss_ = boss;
    players_ = players;
    scheduleUpdate();
    leftEye_ = BossEye::create();
    rightEye_ = BossEye::create();
    brow_ = BossEyeBrow::create();
    if (leftEye_ == nullptr || rightEye_ == nullptr || brow_ == nullptr) return false;
    leftEye_->setRestPosition(Vec2(80.0f, 0.0f), 160.0f);
    rightEye_->setRestPosition(Vec2(560.0f, 0.0f), 160.0f);
    leftEye_->zOrder = zOrder;
    rightEye_->zOrder = zOrder;
    addChild(leftEye_);
    addChild(rightEye_);
    addChild(brow_);
    brow_->setPosition(Vec2(320.0f, 260.0f));
    brow_->getBrow()->setVisible(false);
    visual_ =
        std::make_unique<Boss2DVisualMediator>(this, leftEye_, rightEye_, brow_, boss->bossRecord, zOrder);
    nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
    adapter_ = std::make_unique<Zarn::Boss2D>(boss, nodeMediator_.get(), tileVisuals, zOrder);
    adapter_->setupVisual();
    return true;
}

void BossCocos2D::showHealth() {
    if (boss_->state.state == 0 && !healthBar_) return;
    if (!healthBar_) {
        Scene* scene = runningGameScene();
        if (scene == nullptr) return;
        healthBar_ = BossHealth::create();
        scene->addChild(healthBar_.get());
        healthBar_->setPosition(
            Vec2(80.0f, Director::getInstance()->getVisibleSize().height * 0.5f + 100.0f));
    }
    if (boss_->state.state != 0) healthBar_->show(boss_->state.health);
}

void BossCocos2D::aimEyes() {
    Zarn::SteerableUnit* first = nullptr;
    if (players_ != nullptr) {
        players_->forEachUnit([&first](u32, Zarn::SteerableUnit& unit) {
            if (first == nullptr) first = &unit;
        });
    }
    if (first == nullptr) {
        reportVisualFailure("invalid player index");
        return;
    }
    const GeometryLib::FPoint at = first->body().position;
    const Vec2 world =
        getParent() != nullptr ? getParent()->convertToWorldSpace(Vec2(at.x, at.y)) : Vec2(at.x, at.y);
    leftEye_->target = world;
    rightEye_->target = world;
}

void BossCocos2D::update(float) {
    runGuarded([this] { showHealth(); });
    runGuarded([this] { aimEyes(); });
    runGuarded([this] { adapter_->syncVisual(); });
}
