#pragma once

#include <vector>

#include "engine/DrawNode.h"
#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "foundation/Types.h"

namespace cocos2d {
class FiniteTimeAction;
}

// The boss's brow, the two clamps that carry it in and out, and its health
// bar. Positions are in the parent's space, y up. Engine create pattern;
// main thread only.

// A mechanical clamp: two jaws on an arm. It draws nothing itself; its
// position is its lower-left corner. A new clamp is closed.
class BossBrowClamp : public cocos2d::Sprite {
public:
    static BossBrowClamp* create();
    bool init() override;

    // 0.1 s each: the jaws to 180 / 90 (closed) or 150 / 115 (open).
    cocos2d::FiniteTimeAction* close();
    cocos2d::FiniteTimeAction* open();
    // The same at once.
    void setClosed();
    void setOpen();

    cocos2d::Sprite* getTop() const { return top_; }
    cocos2d::Sprite* getBottom() const { return bottom_; }

private:
    cocos2d::Sprite* top_ = nullptr;
    cocos2d::Sprite* bottom_ = nullptr;
    cocos2d::Sprite* arm_ = nullptr;
};

// The leg time of an enter or a leave of d seconds: max(0.6, (d - 0.1) / 2).
float browLegTime(float d);
// The repetitions of an angry shake of d seconds: trunc(d / 0.1 + 1).
u32 browShakeCount(float d);

// The brow face between two clamps. The brow sprite is hidden until the
// first enter (its owner hides it).
class BossEyeBrow : public cocos2d::Sprite {
public:
    static constexpr float kRiseDistance = 500.0f;

    static BossEyeBrow* create();
    bool init() override;

    // "boss_brow_normal.png", "boss_brow_angy.png", "boss_brow_damaged.png".
    void setNormalFace();
    void setAngryFace();
    void setDamagedFace();

    // Each returns a new action to run on the brow node. Enter: the clamps
    // bring the brow down and leave; leave: they come, open and take it up.
    // Moves are relative and add up while they overlap (a lift during an
    // enter, say), so every move that ends at the brow's rest sets it there
    // at its end.
    cocos2d::FiniteTimeAction* enter(float d);
    cocos2d::FiniteTimeAction* leave(float d);
    cocos2d::FiniteTimeAction* lift();
    // Shows the angry face at once; the normal face when the shake ends.
    cocos2d::FiniteTimeAction* angryShake(float d);
    // Shows the damaged face at once; the normal face after the bounce.
    cocos2d::FiniteTimeAction* damaged();

    cocos2d::Sprite* getBrow() const { return brow_; }
    BossBrowClamp* getLeftClamp() const { return left_.get(); }
    BossBrowClamp* getRightClamp() const { return right_.get(); }
    const cocos2d::Vec2& getBrowRest() const { return browRest_; }
    const cocos2d::Vec2& getBrowHidden() const { return browHidden_; }
    const cocos2d::Vec2& getLeftClampRest() const { return leftRest_; }

private:
    cocos2d::FiniteTimeAction* clampTrip(BossBrowClamp* clamp, const cocos2d::Vec2& rest,
                                         const cocos2d::Vec2& hidden, float leg, bool closing);

    cocos2d::Sprite* brow_ = nullptr;
    // Children, also held here.
    cocos2d::RefPtr<BossBrowClamp> left_;
    cocos2d::RefPtr<BossBrowClamp> right_;
    cocos2d::Vec2 leftRest_, rightRest_, leftHidden_, rightHidden_, browRest_, browHidden_;
};

// How a health bar of `shown` cells steps towards `wanted`: all surplus
// cells go at once (the last first); a missing cell comes one per step.
struct HealthStep {
    std::size_t remove = 0;
    bool add = false;
};
HealthStep healthStep(std::size_t shown, std::size_t wanted);
// Where cell `index` (0 the first) sits: (0, -40 x index).
cocos2d::Vec2 healthCellPosition(std::size_t index);

// A column of red cells, one per hit point, that grow in and pop out.
class BossHealth : public cocos2d::Node {
public:
    static BossHealth* create();
    bool init() override;

    // One step towards n cells (healthStep); the boss calls it every frame
    // while the fight is on.
    void show(std::size_t n);
    std::size_t cellCount() const { return cells_.size(); }
    const std::vector<cocos2d::DrawNode*>& getCells() const { return cells_; }

private:
    // Children while listed; a dropped cell removes itself when it has popped.
    std::vector<cocos2d::DrawNode*> cells_;
    cocos2d::RefPtr<cocos2d::FiniteTimeAction> appear_;
    cocos2d::RefPtr<cocos2d::FiniteTimeAction> remove_;
};
