#pragma once

#include "presentation/mediators/MediatedSprite.h"
#include "visuals/traps/ElementSprites.h"
#include "visuals/traps/TrapAnimations.h"

namespace Zarn {
class TrapElement;
class ZOrderCalculator;
}  // namespace Zarn

// What an interval trap's visual runs on its base sprite when the trap enters
// a state, by the state it leaves:
// | new | old                        | runs                          |
// | 0   | any                        | state 0's action              |
// | 1   | 3, state 0 opens the trap  | state 0's action              |
// | 1   | otherwise                  | state 1's action              |
// | 2   | 3                          | nothing                       |
// | 2   | otherwise                  | state 2's action              |
// | 3   | any                        | stop the state actions, then state 3's |
// | 4+  | any                        | nothing                       |
enum class IntervalReaction : u8 { none, state0, state1, state2, stopThenState3 };
IntervalReaction intervalReaction(u8 oldState, u8 newState, bool state0Opens);

// The tag of the state actions an interval trap visual runs on its base
// sprite; stopping them stops that tag only.
inline constexpr int kTrapStateActionTag = 0x7A57;

// The visual mediator of a trap drawn as a fixed sprite (the node: a grill or
// a trap door's frame) with a base sprite that plays the trap's actions. The
// node is set by the visual that owns the mediator; the base sprite is a
// child of the node. Main thread only.
class SimpleTrap2DVisualMediator : public NodeBoundVisualMediator {
public:
    // record: the trap's record (interval or scheduled), owned by the map.
    SimpleTrap2DVisualMediator(MediatedSprite* baseSprite, const Zarn::TrapElement* record,
                               TrapAnimations animations, const Zarn::ZOrderCalculator* zOrder);

    // 0: opacity 255 on the node; 1: opacity 0; other values: nothing.
    void onVisibilityChanged(u8 state) override;
    // Hidden (1): "sound/element/hide1.mp3" at the node and the hide action;
    // shown (0): "sound/element/show2.mp3", opacity 0 and the show action.
    // Other values: nothing. Actions run as clones.
    void onShowHide(u32 oldState, u8 state) override;

    MediatedSprite* getBaseSprite() const { return baseSprite_.get(); }
    const TrapAnimations& getAnimations() const { return animations_; }

protected:
    // Runs a clone of the action on the base sprite, tagged as a state action.
    void runOnBase(const cocos2d::RefPtr<cocos2d::Action>& action);

    // Retained while kept.
    cocos2d::RefPtr<MediatedSprite> baseSprite_;
    TrapAnimations animations_;
    const Zarn::ZOrderCalculator* zOrder_;
    const Zarn::TrapElement* record_;
};

// Spikes (46, 127), the scheduled spike (122) and the vortex's trap door (55).
class IntervalTrap2DVisualMediator : public SimpleTrap2DVisualMediator {
public:
    using SimpleTrap2DVisualMediator::SimpleTrap2DVisualMediator;

    // intervalReaction of the change, run on the base sprite.
    void onStateChanged(u32 oldState, u32 newState) override;
};
