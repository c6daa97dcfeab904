#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Action.h"
#include "engine/RefPtr.h"
#include "simulation/scene/PlayerAnimController.h"

namespace cocos2d {
class ActionInterval;
class Node;
class SpriteFrameCache;
}  // namespace cocos2d

namespace Zarn {
class ZOrderCalculator;
}

// The engine-side base of the player animation controllers: a table of
// animations (action templates tied to target nodes) under small integer
// keys, a table from state and effect IDs to those keys, and the flags the
// visual sync reads. Keys 1 (idle) and 2 (running) are the base's; the
// concrete controllers fill the rest in their constructors.
//
// Templates are retained by their entries and never run themselves: each
// play runs a clone on the entry's target, kept (retained) until stopped or
// played again. Targets are the player node or nodes it owns. The player
// node owns the controller (through its visual), so actions running on it
// may call back into the controller. Main thread only.
class CocosPlayerAnimController : public Zarn::PlayerAnimController {
public:
    static constexpr i32 kIdleKey = 1;
    static constexpr i32 kRunKey = 2;
    // The squash effect, and the key its end plays while a substitute stands.
    static constexpr i32 kSquashEffect = 10;
    static constexpr i32 kReturnKey = 11;

    // node: the player's node (not owned); zOrder: the scene's calculator,
    // which outlives the controller.
    CocosPlayerAnimController(cocos2d::Node* node, const Zarn::ZOrderCalculator* zOrder);
    ~CocosPlayerAnimController() override;

    // play(2), a start-of-run dust burst, running.
    void startRunning() override;
    void startIdle() override;
    // stop(2), an end-of-run dust burst, not running.
    void stopRunning() override;
    void stopIdle() override;
    bool isInStateAnimation() override { return inStateAnimation_; }
    bool hasEffectAnimations() override { return effectCount_ > 0; }
    bool isRunning() override { return running_; }
    bool isIdle() override { return idle_; }
    // Plays the key of the new state when the state table has one (nothing at
    // all otherwise); a standing substitute is removed first.
    void playStateAnimation(i32 oldState, i32 newState) override;
    // started 0: effectEnded(ended); else plays the started effect's key.
    void changeEffect(i32 ended, i32 started) override;
    void endStateAnimation(i32 unused) override { inStateAnimation_ = false; }
    // Through the virtual operations: stop running, idle, end the state
    // animation.
    void reset() override;
    // The player node's local z order.
    void setZOrder(i32 z) override;
    // The squash effect ending while a substitute stands plays key 11.
    virtual void effectEnded(i32 effect);

    // The animation table.
    void play(i32 key);
    void stop(i32 key);
    void add(i32 key, cocos2d::Node* target, cocos2d::Action* action);
    // The first row for an ID stays.
    void addStateRow(i32 id, i32 key) { stateTable_.emplace(id, key); }
    bool hasKey(i32 key) const { return animations_.count(key) != 0; }
    // The key of a state or effect ID, or 0 when the table has none.
    i32 keyOf(i32 id) const;
    // The clone a key's first entry last ran (null when never played).
    cocos2d::Action* runningAction(i32 key) const;

    cocos2d::Node* getPlayerNode() const { return node_; }
    cocos2d::Node* getSubstitute() const { return substitute_.get(); }
    // Removes the substitute from its parent with clean-up and forgets it.
    void removeSubstitute();

protected:
    // The frames of the names, looked up in the sprite frame cache in order,
    // shown `delay` seconds each, once.
    cocos2d::ActionInterval* makeAnimate(const std::vector<std::string>& frameNames, float delay) const;

    struct AnimationEntry {
        cocos2d::Node* target = nullptr;
        cocos2d::RefPtr<cocos2d::Action> action;
        cocos2d::RefPtr<cocos2d::Action> running;
    };

    cocos2d::Node* node_;
    // A node a derived controller puts on the player node's parent in place
    // of the player; removed when a new state animation begins.
    cocos2d::RefPtr<cocos2d::Node> substitute_;
    const Zarn::ZOrderCalculator* zOrder_;
    std::unordered_map<i32, std::vector<AnimationEntry>> animations_;
    cocos2d::SpriteFrameCache* frameCache_;
    bool running_ = false;
    bool inStateAnimation_ = false;
    i32 effectCount_ = 0;
    bool idle_ = false;
    std::unordered_map<i32, i32> stateTable_;
};
