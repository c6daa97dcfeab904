#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/RefPtr.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"

namespace cocos2d {
class Node;
class SpriteFrame;
class SpriteFrameCache;
}  // namespace cocos2d

namespace Zarn {
class TrapElement;
}

// The actions a simple trap visual plays: one per state of the trap's cycle,
// the show and hide actions and, for the exploding trap door (134), the
// explosion. Any slot may be empty. A copy shares the actions, each held
// (retained) while some copy holds it; a visual runs clones, so one set serves
// every run. Main thread only.
struct TrapAnimations : MapElementAnimations {
    cocos2d::RefPtr<cocos2d::Action> state0Action;
    cocos2d::RefPtr<cocos2d::Action> state1Action;
    cocos2d::RefPtr<cocos2d::Action> state2Action;
    cocos2d::RefPtr<cocos2d::Action> state3Action;
    // Filled by no builder.
    cocos2d::RefPtr<cocos2d::Action> state4Action;
    cocos2d::RefPtr<cocos2d::Action> explosionAction;
    // State 0's action opens the trap (trap doors): a trap that skips
    // state 0 plays it on its way into state 1. Otherwise state 0's action is
    // only the warning before state 1 (spikes).
    bool state0Opens = false;

    // The slot of state 0 to 3; empty for any other state.
    const cocos2d::RefPtr<cocos2d::Action>& stateAction(u8 state) const;
};

// Timings the builders derive from a record, all in seconds (map data is
// clamped first: a negative or NaN time counts as 0).

// Trap doors: the door swings in `swing` and waits `wait` around it, so that
// the opening ends exactly when state 0 (half the rest time) ends.
struct TrapDoorTimings {
    float swing = 0.0f;
    float wait = 0.0f;
    // The closing in state 2 plays its sound (active time above 0.5).
    bool closeSoundInState2 = false;
};
TrapDoorTimings trapDoorTimings(float restTime, float activeTime);

// Spikes rise in `move`, stay `hold` and sink in `move`: the whole of state 1.
struct SpikeTimings {
    float move = 0.0f;
    float hold = 0.0f;
    // The sinking plays its sound (active time at least 0.5).
    bool fallSound = false;
};
SpikeTimings spikeTimings(float activeTime);

// A trap door's warning before it swings open (the `wait` of its state 0):
// it rattles, prefix + "2.png" (a crack open, striped) and "1.png" (shut) in
// turn, a frame about every 0.1 s (at least two).
std::vector<std::string> trapDoorRattle(const std::string& prefix, float wait);

// The spikes' warning while they arm (state 0, half the rest time): amber
// tips jitter in their holes, "spike_warn_0001.png" and "_0002.png" in turn,
// a frame about every 0.1 s (at least two), ending on the higher one.
std::vector<std::string> spikeWarningFrameList(float restTime);
// The names above, once each.
std::vector<std::string> spikeWarningFrames();

// The slap: swings down in `swing`, holds `hold`, swings back in `swing`.
struct SlapTimings {
    float swing = 0.0f;
    float hold = 0.0f;
};
SlapTimings slapTimings(float activeTime);

// The red-green sign's figure switch: waits `wait`, then switches in
// `switchTime`, which together fill half the rest time.
struct SignSwitchTimings {
    float switchTime = 0.0f;
    float wait = 0.0f;
};
SignSwitchTimings signSwitchTimings(float restTime);

// The sprite frame a trap's visual shows before any animation, by trap type
// ID (43, 46, 49, 55, 56, 122, 127, 128, 143). Filled once, never changed.
const std::unordered_map<u32, std::string>& trapFirstFrameNames();

class TrapAnimationFactory {
public:
    virtual ~TrapAnimationFactory() = default;
    // The record's actions; sounds play at soundSource (which runs them).
    // Throws Convinience::Error: "no such trap element animation" for a type
    // ID the builders do not know, "not interval trap element" for a record
    // of the wrong class.
    virtual TrapAnimations createTrapAnimations(const Zarn::TrapElement& record,
                                                cocos2d::Node* soundSource) = 0;
};

// The builders by trap type ID:
// | IDs     | builder                                      | record     |
// | 43, 55  | trap door "Trap_Door_1.png" .. 9             | interval   |
// | 143     | trap door "CTrap_Door_1.png" .. 9            | interval   |
// | 134     | trap door with the explosion                 | interval   |
// | 121     | scheduled trap door                          | scheduled  |
// | 46, 127 | spike                                        | interval   |
// | 122     | scheduled spike                              | scheduled  |
// | 49      | slap trap                                    | interval   |
// | 56      | red-green sign                               | interval   |
// | 131     | nothing (every slot empty)                   | -          |
class TrapAnimationFactoryImpl : public TrapAnimationFactory {
public:
    TrapAnimationFactoryImpl();

    TrapAnimations createTrapAnimations(const Zarn::TrapElement& record, cocos2d::Node* soundSource) override;
    // The record's first frame from trapFirstFrameNames; throws
    // Convinience::Error("no frame 0 for this trap") for a type ID it lacks.
    cocos2d::SpriteFrame* getFirstFrame(const Zarn::TrapElement& record) const;

    cocos2d::SpriteFrameCache* getSpriteFrameCache() const { return spriteFrameCache_; }

private:
    TrapAnimations trapDoor(const std::string& prefix) const;
    TrapAnimations scheduledTrapDoor() const;
    TrapAnimations spike() const;
    TrapAnimations scheduledSpike() const;
    TrapAnimations slapTrap() const;
    TrapAnimations redGreenSign() const;

    cocos2d::SpriteFrameCache* spriteFrameCache_;
    // Of the running call only.
    const Zarn::TrapElement* record_ = nullptr;
    cocos2d::Node* soundSource_ = nullptr;
};

// The explosion of an exploding trap door: the explosion and fire sounds,
// a horizontal screen shake, "Explosion_Trap_1.png" .. 19 over 1.2 s, Hide.
cocos2d::FiniteTimeAction* createTrapDoorExplosion();
