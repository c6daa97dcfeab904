#include "visuals/traps/FourPanelTrapDoor.h"

#include <algorithm>

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/ClippingNode.h"
#include "engine/SpriteFrameCache.h"
#include "visuals/traps/TrapAnimations.h"
#include "visuals/traps/VisualActions.h"

using namespace cocos2d;

namespace {
// The warning shake of the panel layer: a step of kShake units each way.
constexpr float kShakeStep = 0.05f;
constexpr float kShake = 3.0f;
}  // namespace

std::optional<PanelSteps> panelOpenSteps(u8 panelMode) {
    switch (panelMode) {
        case 0:
            return PanelSteps{{{0, 1}, {0, 1}, {0, -1}, {0, -1}}};
        case 1:
            return PanelSteps{{{-1, 0}, {1, 0}, {-1, 0}, {1, 0}}};
        case 2:
            return PanelSteps{{{-1, 1}, {1, 1}, {-1, -1}, {1, -1}}};
        case 3:
        case 6:
            return PanelSteps{{{-1, 1}, {1, 0}, {0, -1}, {1, -1}}};
        case 4:
        case 5:
            return PanelSteps{{{-1, 0}, {1, 1}, {-1, -1}, {0, -1}}};
        default:
            return std::nullopt;
    }
}

const std::array<std::string, 4>& fourPanelRestingFrames() {
    static const std::array<std::string, 4> names{"fp_trap_door_top_left.png", "fp_trap_door_top_right.png",
                                                  "fp_trap_door_bottom_left.png",
                                                  "fp_trap_door_bottom_right.png"};
    return names;
}

const std::array<std::string, 4>& fourPanelWarningFrames() {
    static const std::array<std::string, 4> names{
        "fp_trap_door_warn_top_left.png", "fp_trap_door_warn_top_right.png",
        "fp_trap_door_warn_bottom_left.png", "fp_trap_door_warn_bottom_right.png"};
    return names;
}

PanelTimings panelTimings(float half) {
    const float h = clampDuration(half);
    const float move = std::min(0.15f, h);
    return {move, std::max(0.0f, h - move)};
}

DoorReaction fourPanelReaction(bool scheduled, u8 oldState, u8 newState) {
    switch (newState) {
        case 0:
            return scheduled || oldState != 1 ? DoorReaction::open : DoorReaction::none;
        case 1:
            return !scheduled && oldState != 0 ? DoorReaction::open : DoorReaction::none;
        case 2:
            return DoorReaction::close;
        case 3:
            return scheduled ? DoorReaction::close : DoorReaction::stopThenClose;
        case 4:
            return DoorReaction::explode;
        default:
            return DoorReaction::none;
    }
}

void FourPanelTrapDoorCocos2DBase::createPanels() {
    const Size door = getContentSize();
    const float cw = door.width;
    const float ch = door.height;
    panelLayer_ = MediatedSprite::create();
    panelLayer_->setPosition(Vec2(cw / 2.0f, ch / 2.0f));
    panelLayer_->setCascadeOpacityEnabled(true);

    auto* clip = ClippingRectangleNode::create(Rect(-cw / 2.0f, -ch / 2.0f, cw, ch));
    clip->setCascadeOpacityEnabled(true);
    const std::array<std::string, 4>& frames = fourPanelRestingFrames();
    topLeft_ = Sprite::createWithSpriteFrameName(frames[0]);
    topRight_ = Sprite::createWithSpriteFrameName(frames[1]);
    bottomLeft_ = Sprite::createWithSpriteFrameName(frames[2]);
    bottomRight_ = Sprite::createWithSpriteFrameName(frames[3]);
    for (Sprite* panel : {topLeft_, topRight_, bottomLeft_, bottomRight_}) clip->addChild(panel);

    auto place = [&](Sprite* panel, float sx, float sy) {
        const Size p = panel->getContentSize();
        panel->setPosition(Vec2(sx * (cw / 2.0f - p.width / 2.0f), sy * (ch / 2.0f - p.height / 2.0f)));
    };
    place(topLeft_, -1.0f, 1.0f);
    place(topRight_, 1.0f, 1.0f);
    place(bottomLeft_, -1.0f, -1.0f);
    place(bottomRight_, 1.0f, -1.0f);
    panelLayer_->addChild(clip);
}

FourPanelTrapDoorVisualMediatorBase::FourPanelTrapDoorVisualMediatorBase(
    Sprite* door, MapElementAnimations animations, const Zarn::FourPanelTrapDoorElement* record,
    Node* panelLayer, const std::array<Sprite*, 4>& panels)
    : MapElement2DVisualMediator(door, std::move(animations)), record_(record), panelLayer_(panelLayer) {
    for (std::size_t i = 0; i < panels.size(); ++i) panels_[i] = panels[i];
    if (panelLayer_) panelLayer_->setCascadeOpacityEnabled(true);
    if (record_->elementId == 134) explosionAction_ = createTrapDoorExplosion();
}

void FourPanelTrapDoorVisualMediatorBase::buildMoves(float half) {
    const PanelTimings t = panelTimings(half);
    const std::optional<PanelSteps> steps = panelOpenSteps(record_->panelFlag);
    Vector<FiniteTimeAction*> opens;
    Vector<FiniteTimeAction*> closes;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        Sprite* panel = panels_[i].get();
        const Vec2 closed = panel->getPosition();
        const Size size = panel->getContentSize();
        Vec2 open(0.0f, 0.0f);
        if (steps) {
            open = closed + Vec2(static_cast<float>((*steps)[i][0]) * size.width,
                                 static_cast<float>((*steps)[i][1]) * size.height);
        }
        opens.pushBack(TargetedAction::create(panel, MoveTo::create(t.move, open)));
        closes.pushBack(TargetedAction::create(panel, MoveTo::create(t.move, closed)));
    }
    FiniteTimeAction* closeSound =
        clampDuration(record_->activeTime) > 0.5f
            ? static_cast<FiniteTimeAction*>(positionalSoundAction(node_, "sound/trapdoor/close.mp3"))
            : static_cast<FiniteTimeAction*>(DelayTime::create(0.0f));
    // The warning: the panels turn amber and shake until they slide apart.
    const float wait = t.wait;
    CallFunc* warn = CallFunc::create([this, wait] {
        showWarning(true);
        const int shakes = static_cast<int>(wait / (2.0f * kShakeStep));
        if (panelLayer_ && shakes > 0) {
            panelLayer_->runAction(
                Repeat::create(Sequence::create(MoveBy::create(kShakeStep, Vec2(kShake, 0.0f)),
                                                MoveBy::create(kShakeStep, Vec2(-kShake, 0.0f))),
                               static_cast<unsigned int>(shakes)));
        }
    });
    CallFunc* rest = CallFunc::create([this] { showWarning(false); });
    openAction_ =
        Sequence::create(warn, DelayTime::create(t.wait),
                         positionalSoundAction(node_, "sound/trapdoor/open.mp3"), Spawn::create(opens));
    closeAction_ = Sequence::create(Spawn::create(closes), rest, closeSound, DelayTime::create(t.wait));
}

void FourPanelTrapDoorVisualMediatorBase::showWarning(bool warning) {
    const std::array<std::string, 4>& frames = warning ? fourPanelWarningFrames() : fourPanelRestingFrames();
    SpriteFrameCache* cache = SpriteFrameCache::getInstance();
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        SpriteFrame* frame = cache->getSpriteFrameByName(frames[i]);
        if (panels_[i] && frame != nullptr) panels_[i]->setSpriteFrame(frame);
    }
}

void FourPanelTrapDoorVisualMediatorBase::onVisibilityChanged(u8 state) {
    if (state != 0 && state != 1) return;
    const u8 opacity = state == 0 ? 255 : 0;
    node_->setOpacity(opacity);
    if (panelLayer_) panelLayer_->setOpacity(opacity);
}

void FourPanelTrapDoorVisualMediatorBase::onShowHide(u32 oldState, u8 state) {
    MapElement2DVisualMediator::onShowHide(oldState, state);
    if (!panelLayer_ || (state != 0 && state != 1)) return;
    const RefPtr<Action>& action = state == 0 ? animations_.showAction : animations_.hideAction;
    if (action) panelLayer_->runAction(action->clone());
}

void FourPanelTrapDoorVisualMediatorBase::runTagged(const RefPtr<FiniteTimeAction>& action) {
    if (!action) return;
    Action* run = action->clone();
    run->setTag(kPanelMoveTag);
    node_->runAction(run);
}

void FourPanelTrapDoorVisualMediatorBase::react(DoorReaction reaction) {
    switch (reaction) {
        case DoorReaction::none:
            return;
        case DoorReaction::open:
            runTagged(openAction_);
            return;
        case DoorReaction::close:
            runTagged(closeAction_);
            return;
        case DoorReaction::stopThenClose:
            node_->stopAllActionsByTag(kPanelMoveTag);
            runTagged(closeAction_);
            return;
        case DoorReaction::explode:
            if (explosionAction_) explode();
            return;
    }
}

void FourPanelTrapDoorVisualMediatorBase::explode() {
    Node* parent = node_->getParent();
    if (parent == nullptr) return;
    Sprite* burst = Sprite::createWithSpriteFrameName("Explosion_Trap_1.png");
    parent->addChild(burst);
    burst->setScale(0.4f);
    const float h = node_->getBoundingBox().size.height;
    burst->setPosition(node_->getPosition() + Vec2(-5.0f, h / 2.0f + 5.0f));
    if (panelLayer_) burst->setLocalZOrder(panelLayer_->getLocalZOrder());
    burst->runAction(explosionAction_->clone());
}

FPTDVisualMediator::FPTDVisualMediator(Sprite* door, MapElementAnimations animations,
                                       const Zarn::FourPanelTrapDoorElement* record, Node* panelLayer,
                                       const std::array<Sprite*, 4>& panels)
    : FourPanelTrapDoorVisualMediatorBase(door, std::move(animations), record, panelLayer, panels) {
    buildMoves(clampDuration(record->restTime) * 0.5f);
    if (record->startsActive) runTagged(openAction_);
}

void FPTDVisualMediator::onStateChanged(u32 oldState, u32 newState) {
    if (oldState > 255 || newState > 255) return;
    react(fourPanelReaction(false, static_cast<u8>(oldState), static_cast<u8>(newState)));
}

FPTDScheduledVisualMediator::FPTDScheduledVisualMediator(Sprite* door, MapElementAnimations animations,
                                                         const Zarn::FourPanelTrapDoorElement* record,
                                                         Node* panelLayer,
                                                         const std::array<Sprite*, 4>& panels)
    : FourPanelTrapDoorVisualMediatorBase(door, std::move(animations), record, panelLayer, panels) {
    buildMoves(0.15f);
}

void FPTDScheduledVisualMediator::onStateChanged(u32 oldState, u32 newState) {
    if (oldState > 255 || newState > 255) return;
    react(fourPanelReaction(true, static_cast<u8>(oldState), static_cast<u8>(newState)));
}
