#include "visuals/traps/VortexTrapVisual.h"

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Animation.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

const VortexKind& smallVortexKind() {
    static const VortexKind kind{numberedFrames("Vortex_Small_", 1, 3), 2.0f, 150, "sound/vortex/vortex2.mp3",
                                 0.75f};
    return kind;
}

const VortexKind& largeVortexKind() {
    static const VortexKind kind{numberedFrames("Vortex_Large_", 1, 3), 5.0f, 150, "", 0.0f};
    return kind;
}

VortexVisualMediator::VortexVisualMediator(const VortexKind& kind) : kind_(kind) {
    SpriteFrameCache* cache = SpriteFrameCache::getInstance();
    Vector<SpriteFrame*> frames;
    for (const std::string& name : kind_.frames) frames.pushBack(cache->getSpriteFrameByName(name));
    spin_ = RepeatForever::create(Animate::create(Animation::createWithSpriteFrames(frames, 0.2f, 1)));
    turn_ = RepeatForever::create(RotateBy::create(kind_.rotationPeriod, 360.0f));
}

VortexVisualMediator::~VortexVisualMediator() {
    // The sprite's actions go with the sprite; the sound would play on.
    node_ = nullptr;
    stopVortex();
}

void VortexVisualMediator::onStateChanged(u32, u32 newState) {
    if (node_ == nullptr) return;
    if (newState == 1) {
        stopVortex();
        node_->setOpacity(kind_.activeOpacity);
        Action* spin = spin_->clone();
        spin->setTag(kVortexSpinTag);
        node_->runAction(spin);
        Action* turn = turn_->clone();
        turn->setTag(kVortexTurnTag);
        node_->runAction(turn);
        if (!kind_.sound.empty()) {
            runGuarded([this] {
                soundId_ =
                    PositionAudioEngine::instance().playEffectLooped(node_, kind_.sound, kind_.soundVolume);
            });
        }
    } else if (newState == 2 || newState == 3) {
        stopVortex();
        node_->setOpacity(0);
    }
}

void VortexVisualMediator::stopVortex() {
    if (node_ != nullptr) {
        node_->stopAllActionsByTag(kVortexSpinTag);
        node_->stopAllActionsByTag(kVortexTurnTag);
    }
    if (soundId_ == -1) return;
    const int id = soundId_;
    soundId_ = -1;
    // The positional engine forgets the sound as it stops it; without one the
    // sound player stops it alone.
    if (!runGuarded([id] { PositionAudioEngine::instance().stopEffect(id); }))
        SoundPlayer::getInstance()->stopEffect(id);
}

namespace {

Zarn::Sprite2DMediator* makeVortex(const VortexKind& kind) {
    SpriteFrame* first = SpriteFrameCache::getInstance()->getSpriteFrameByName(kind.frames.front());
    MediatedAnimatedSprite* sprite =
        MediatedAnimatedSprite::create(first, std::make_unique<VortexVisualMediator>(kind));
    return sprite->getMediator();
}

}  // namespace

Zarn::Sprite2DMediator* VortexTrap2DImpl::createSmallVortex() {
    return makeVortex(smallVortexKind());
}

Zarn::Sprite2DMediator* VortexTrap2DImpl::createLargeVortex() {
    return makeVortex(largeVortexKind());
}

VortexTrapCocos2D* VortexTrapCocos2D::create(SpriteFrame* frame,
                                             std::unique_ptr<SimpleTrap2DVisualMediator> mediator,
                                             Zarn::BaseIntervalTrap* trap,
                                             Zarn::TileVisualGroups* tileVisuals,
                                             const Zarn::ZOrderCalculator* zOrder) {
    return finishCreate(new VortexTrapCocos2D(), frame, std::move(mediator), trap, tileVisuals, zOrder);
}

std::unique_ptr<Zarn::IntervalTrap2D> VortexTrapCocos2D::makeAdapter() {
    return std::make_unique<VortexTrap2DImpl>(trap_, nodeMediator_.get(), tileVisuals_, zOrder_);
}
