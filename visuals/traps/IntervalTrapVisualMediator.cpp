#include "visuals/traps/IntervalTrapVisualMediator.h"

#include "visuals/traps/VisualActions.h"

IntervalReaction intervalReaction(u8 oldState, u8 newState, bool state0Opens) {
    switch (newState) {
        case 0:
            return IntervalReaction::state0;
        case 1:
            return oldState == 3 && state0Opens ? IntervalReaction::state0 : IntervalReaction::state1;
        case 2:
            return oldState == 3 ? IntervalReaction::none : IntervalReaction::state2;
        case 3:
            return IntervalReaction::stopThenState3;
        default:
            return IntervalReaction::none;
    }
}

SimpleTrap2DVisualMediator::SimpleTrap2DVisualMediator(MediatedSprite* baseSprite,
                                                       const Zarn::TrapElement* record,
                                                       TrapAnimations animations,
                                                       const Zarn::ZOrderCalculator* zOrder)
    : baseSprite_(baseSprite), animations_(std::move(animations)), zOrder_(zOrder), record_(record) {}

void SimpleTrap2DVisualMediator::onVisibilityChanged(u8 state) {
    if (node_ == nullptr) return;
    if (state == 0) node_->setOpacity(255);
    if (state == 1) node_->setOpacity(0);
}

void SimpleTrap2DVisualMediator::onShowHide(u32, u8 state) {
    if (node_ == nullptr || (state != 0 && state != 1)) return;
    if (state == 1) {
        playPositional(node_, "sound/element/hide1.mp3");
        if (animations_.hideAction) node_->runAction(animations_.hideAction->clone());
        return;
    }
    playPositional(node_, "sound/element/show2.mp3");
    node_->setOpacity(0);
    if (animations_.showAction) node_->runAction(animations_.showAction->clone());
}

void SimpleTrap2DVisualMediator::runOnBase(const cocos2d::RefPtr<cocos2d::Action>& action) {
    if (!action || !baseSprite_) return;
    cocos2d::Action* run = action->clone();
    run->setTag(kTrapStateActionTag);
    baseSprite_->runAction(run);
}

void IntervalTrap2DVisualMediator::onStateChanged(u32 oldState, u32 newState) {
    if (oldState > 255 || newState > 255) return;
    switch (intervalReaction(static_cast<u8>(oldState), static_cast<u8>(newState),
                             animations_.state0Opens && bool(animations_.state0Action))) {
        case IntervalReaction::none:
            return;
        case IntervalReaction::state0:
            runOnBase(animations_.state0Action);
            return;
        case IntervalReaction::state1:
            runOnBase(animations_.state1Action);
            return;
        case IntervalReaction::state2:
            runOnBase(animations_.state2Action);
            return;
        case IntervalReaction::stopThenState3:
            if (baseSprite_) baseSprite_->stopAllActionsByTag(kTrapStateActionTag);
            runOnBase(animations_.state3Action);
            return;
    }
}
