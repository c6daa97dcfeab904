#include "presentation/players/Player2DAnimController.h"

#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Sprite.h"
#include "presentation/PresentationFrames.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/effects/DustPuffs.h"
#include "presentation/effects/ResetableSprite.h"
#include "presentation/effects/VisualRandom.h"
#include "presentation/players/DeathBurst.h"
#include "simulation/scene/ZOrderCalculator.h"

using namespace cocos2d;

const char* const Player2DAnimController::kFootstep = "sound/footstep1.mp3";
const char* const Player2DAnimController::kSpawnSounds[2] = {"sound/spawn/spawn1.mp3",
                                                             "sound/spawn/spawn2.mp3"};
const char* const Player2DAnimController::kFallSounds[3] = {
    "sound/fall_straight1.mp3", "sound/fall_straight2.mp3", "sound/fall_straight3.mp3"};
const char* const Player2DAnimController::kExplosionSounds[3] = {
    "sound/bodyExplode/explode1.mp3", "sound/bodyExplode/explode2.mp3", "sound/bodyExplode/explode3.mp3"};
const char* const Player2DAnimController::kSpikeHitSounds[3] = {
    "sound/spike/hit1.mp3", "sound/spike/hit2.mp3", "sound/spike/hit3.mp3"};

namespace {

constexpr float k24 = 1.0f / 24.0f;
constexpr float k12 = 1.0f / 12.0f;
constexpr float k18 = 1.0f / 18.0f;

RandomSoundSet& spawnSounds() {
    static RandomSoundSet set(
        {Player2DAnimController::kSpawnSounds[0], Player2DAnimController::kSpawnSounds[1]});
    return set;
}
RandomSoundSet& fallSounds() {
    static RandomSoundSet set(std::vector<std::string>(std::begin(Player2DAnimController::kFallSounds),
                                                       std::end(Player2DAnimController::kFallSounds)));
    return set;
}
RandomSoundSet& explosionSounds() {
    static RandomSoundSet set(std::vector<std::string>(std::begin(Player2DAnimController::kExplosionSounds),
                                                       std::end(Player2DAnimController::kExplosionSounds)));
    return set;
}
RandomSoundSet& spikeHitSounds() {
    static RandomSoundSet set(std::vector<std::string>(std::begin(Player2DAnimController::kSpikeHitSounds),
                                                       std::end(Player2DAnimController::kSpikeHitSounds)));
    return set;
}

// The eased 0.35 s fall of a piece: turn by `turn`, shrink, fade and drop.
FiniteTimeAction* pieceFall(float turn) {
    return Spawn::create(EaseIn::create(RotateBy::create(0.35f, turn), 3.0f),
                         EaseIn::create(ScaleTo::create(0.35f, 0.0f), 3.0f),
                         EaseIn::create(FadeTo::create(0.35f, 0), 3.0f),
                         EaseIn::create(MoveBy::create(0.35f, Vec2(0.0f, -125.0f)), 3.0f));
}

}  // namespace

Player2DAnimController::Player2DAnimController(Sprite* sprite, const Zarn::ZOrderCalculator* zOrder,
                                               const Zarn::Player2DAssets& assets)
    : CocosPlayerAnimController(sprite, zOrder), sprite_(sprite), assets_(assets) {
    const auto& lists = assets_.frames;
    footstepInterval_ = static_cast<float>(lists[0].size()) / 24.0f * 0.5f;
    auto footstep = [this] { return CallFunc::create([this] { playAtSprite(kFootstep, 0.5f); }); };
    for (int i = 0; i < 3; ++i) {
        runVariants_[i] =
            Spawn::create(makeAnimate(lists[i], k24),
                          Sequence::create(footstep(), DelayTime::create(footstepInterval_), footstep()));
        idleVariants_[i] = makeAnimate(lists[3 + i], k12);
    }
    auto zOver = [this] { return CallFunc::create([this] { sprite_->setLocalZOrder(zOverSprite()); }); };
    auto explosionSound = [this] { playAtSprite(explosionSounds().pick(), 1.0f); };

    // Fall (state 5).
    add(3, sprite_, Sequence::create(Hide::create(), CallFunc::create([this] { fallBurst(); })));
    addStateRow(5, 3);
    // Vortex (state 6).
    add(5, sprite_,
        Sequence::create(
            makeAnimate(lists[12], k12), zOver(),
            Spawn::create(makeAnimate(lists[8], k12), EaseIn::create(FadeTo::create(0.5f, 0), 3.0f))));
    addStateRow(6, 5);
    // The level left (state 17): the first idle variant once.
    add(9, sprite_, idleVariants_[0]->clone());
    addStateRow(17, 9);

    ResetableSprite* giblets = ResetableSprite::create();
    for (const std::string& name : lists[18]) giblets->addChild(Sprite::createWithSpriteFrameName(name));
    giblets->reset();
    giblets_ = giblets;

    // Blown apart (states 8 and 22).
    add(10, sprite_,
        Sequence::create(Hide::create(), CallFunc::create([this, explosionSound] {
                             attachGiblets();
                             explosionSound();
                         }),
                         createSpriteBurst(giblets)));
    addStateRow(8, 10);
    addStateRow(22, 10);
    // Spiked (state 3).
    auto* bounce = Sequence::create(EaseOut::create(MoveBy::create(0.1f, Vec2(0.0f, 75.0f)), 3.0f),
                                    EaseOut::create(MoveBy::create(0.065f, Vec2(0.0f, -10.0f)), 3.0f),
                                    EaseIn::create(MoveBy::create(0.065f, Vec2(0.0f, 10.0f)), 3.0f),
                                    EaseOut::create(MoveBy::create(0.065f, Vec2(0.0f, -10.0f)), 3.0f),
                                    EaseIn::create(MoveBy::create(0.065f, Vec2(0.0f, 10.0f)), 3.0f),
                                    EaseOut::create(MoveBy::create(0.065f, Vec2(0.0f, -10.0f)), 3.0f),
                                    EaseIn::create(MoveBy::create(0.065f, Vec2(0.0f, 10.0f)), 3.0f));
    auto* spiked = Spawn::create(
        CallFunc::create([this] { playAtSprite(spikeHitSounds().pick(), 1.0f); }),
        Sequence::create(makeAnimate(lists[16], k24), Repeat::create(makeAnimate(lists[17], k24), 3)),
        bounce);
    add(6, sprite_,
        Sequence::create(Hide::create(), CallFunc::create([this] { attachGiblets(); }),
                         TargetedAction::create(giblets, spiked), CallFunc::create([this, explosionSound] {
                             giblets_->setSpriteFrame(kBlankFrame);
                             explosionSound();
                         }),
                         createSpriteBurst(giblets)));
    addStateRow(3, 6);
    // Squashed (effect 10) and moving squashed.
    add(7, sprite_,
        Sequence::create(CallFunc::create([this] { squashStart(); }), makeAnimate(lists[13], k12)));
    addStateRow(10, 7);
    squashMove_ = makeAnimate(lists[15], k12);
    // Recovering (state 21, or the end of effect 10).
    add(11, sprite_,
        Sequence::create(CallFunc::create([this] { recoveryStart(); }), makeAnimate(lists[14], k18),
                         CallFunc::create([this] { recoveryEnd(); })));
    addStateRow(21, 11);
}

// The giblets may still stand on the parent (a burst that has not ended).
Player2DAnimController::~Player2DAnimController() {
    if (giblets_) giblets_->removeFromParentAndCleanup(true);
}

void Player2DAnimController::playAtSprite(const std::string& file, float volume) {
    PositionAudioEngine::instance().playEffect(sprite_, file, volume);
}

int Player2DAnimController::zOverSprite() const {
    return zOrder_->yBase(sprite_->getPositionY()) + 100;
}

void Player2DAnimController::startRunning() {
    FiniteTimeAction* cycle = nullptr;
    if (special_ == kSquashed) {
        cycle = squashMove_->clone();
    } else if (special_ == kRecovering) {
        return;
    } else {
        cycle = runVariants_[chooseVariant(visualRandomUnit())]->clone();
    }
    currentRun_ = Sequence::create(cycle, CallFunc::create([this] { startRunning(); }));
    sprite_->runAction(currentRun_.get());
    running_ = true;
    if (Node* parent = sprite_->getParent()) sprite_->runAction(createRunStartDust(parent, sprite_));
}

void Player2DAnimController::startIdle() {
    if (special_ == kNormal) {
        FiniteTimeAction* cycle = idleVariants_[chooseVariant(visualRandomUnit())]->clone();
        currentIdle_ = Sequence::create(cycle, CallFunc::create([this] { startIdle(); }));
        sprite_->runAction(currentIdle_.get());
    }
    idle_ = true;
}

void Player2DAnimController::stopRunning() {
    if (!running_ || !currentRun_) return;
    sprite_->stopAction(currentRun_.get());
    if (Node* parent = sprite_->getParent()) sprite_->runAction(createRunStartDust(parent, sprite_));
    running_ = false;
}

void Player2DAnimController::stopIdle() {
    if (!idle_ || !currentIdle_) return;
    sprite_->stopAction(currentIdle_.get());
    idle_ = false;
}

void Player2DAnimController::reset() {
    CocosPlayerAnimController::reset();
    sprite_->setScale(0.4f);
    sprite_->setOpacity(254);
    sprite_->setVisible(true);
    playAtSprite(spawnSounds().pick(), 1.0f);
}

void Player2DAnimController::effectEnded(i32 effect) {
    if (effect == kSquashEffect) play(kReturnKey);
}

void Player2DAnimController::squashStart() {
    stopRunning();
    stopIdle();
    special_ = kSquashed;
}

void Player2DAnimController::recoveryStart() {
    stopRunning();
    stopIdle();
    special_ = kRecovering;
}

void Player2DAnimController::recoveryEnd() {
    special_ = kNormal;
    if (running_) {
        startRunning();
    } else if (idle_) {
        startIdle();
    }
}

void Player2DAnimController::attachGiblets() {
    ResetableSprite* giblets = giblets_.get();
    Node* parent = sprite_->getParent();
    giblets->removeFromParentAndCleanup(true);
    if (parent == nullptr) return;
    parent->addChild(giblets);
    giblets->setPosition3D(sprite_->getPosition3D());
    giblets->setLocalZOrder(sprite_->getLocalZOrder());
    giblets->setScale(sprite_->getScale());
    for (Node* piece : giblets->getChildren()) piece->setVisible(false);
}

void Player2DAnimController::fallBurst() {
    Node* parent = sprite_->getParent();
    if (parent == nullptr) return;
    const RefPtr<Sprite> sprite(sprite_);
    const Zarn::ZOrderCalculator* zOrder = zOrder_;
    auto zOver = [sprite, zOrder] {
        return CallFuncN::create([sprite, zOrder](Node* piece) {
            piece->setLocalZOrder(zOrder->yBase(sprite->getPositionY()) + 100);
        });
    };
    const float w = sprite_->getBoundingBox().size.width;
    Sprite* body =
        Sprite::createWithSpriteFrameName(assets_.frames[7].empty() ? "" : assets_.frames[7].front());
    if (body == nullptr) return;
    body->setScale(sprite_->getScale());
    body->setLocalZOrder(sprite_->getLocalZOrder());
    body->setPosition(sprite_->getPosition() + Vec2(w / 2.0f - sprite_->getAnchorPoint().x * w, 0.0f));
    parent->addChild(body);
    Sprite* glasses = Sprite::createWithSpriteFrameName(kSunglassesFrame);
    glasses->setFlippedX(true);
    glasses->setScale(sprite_->getScale());
    glasses->setLocalZOrder(body->getLocalZOrder());
    glasses->setPosition(body->getPosition() + Vec2(10.0f, 10.0f));
    parent->addChild(glasses);

    body->runAction(Sequence::create(
        Spawn::create(Repeat::create(makeAnimate(assets_.frames[7], k12), 3), pieceFall(-270.0f),
                      Sequence::create(DelayTime::create(0.2f), zOver())),
        RemoveSelf::create(true)));
    auto fallSound = CallFunc::create(
        [sprite] { PositionAudioEngine::instance().playEffect(sprite.get(), fallSounds().pick(), 1.0f); });
    glasses->runAction(Sequence::create(
        Spawn::create(MoveBy::create(0.1f, Vec2(0.0f, 30.0f)), RotateBy::create(0.1f, -30.0f),
                      Sequence::create(DelayTime::create(0.15f), fallSound)),
        Spawn::create(pieceFall(270.0f), Sequence::create(DelayTime::create(0.2f), zOver())),
        RemoveSelf::create(true)));
}
