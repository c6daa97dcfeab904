#pragma once

#include <memory>

#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "simulation/adapters/TrapAdapters.h"

// The boss's arms (follow-hit traps 132 and 50, the left arms, and 136 and
// 51, the right ones, mirrored): each rises out of the floor, follows a
// player, slams down on the spot it aimed at with dust and a screen shake,
// reacts when it is hit and sinks back.

// Whether an arm of this trap type is the right-hand one, drawn mirrored.
bool armFacesRight(u32 trapType);

// How many frames a slam of hold d shows "Arm_Slam_5.png": trunc(24 d + 1).
u32 armSlamHoldFrames(float d);
// One frame of an arm that follows: from p towards target, speed x dt /
// parentScale map units (speed in screen units a second); within 5 it stays.
cocos2d::Vec2 armStep(const cocos2d::Vec2& p, const cocos2d::Vec2& target, float speed, float dt,
                      float parentScale);

// The tag of the arm's idle loop.
inline constexpr int kArmIdleTag = 0x4149;

// The arm sprite. Frames "Arm_Spawn_1.png" .. 11, "Arm_Idle_1.png" .. 23,
// "Arm_Slam_1.png" .. 9, "Arm_Hit_1.png" at 1/24 s each; sounds on the sound
// player's effects channel. Engine create pattern; main thread only.
class BossArm : public cocos2d::Sprite {
public:
    static constexpr float kSpeed = 180.0f;

    static BossArm* create();
    bool init() override;
    // While tracking: glides towards the follow target + (0, 130).
    void update(float dt) override;

    // Home = (p.x + 24, p.y + half the height - 81, current z); the arm moves
    // there.
    void placeAt(const cocos2d::Vec2& p);
    void faceLeft();
    void faceRight();
    void showIdleFrame();

    // New actions to run on the arm.
    cocos2d::Action* idleLoop();
    cocos2d::FiniteTimeAction* spawn(float d);
    cocos2d::FiniteTimeAction* retreat();
    cocos2d::FiniteTimeAction* slam(float d);
    cocos2d::FiniteTimeAction* hit();

    // Parent space; the arm glides towards this + (0, 130).
    cocos2d::Vec2 followTarget;
    u8 tracking = 0;
    float speed = kSpeed;

    const cocos2d::Vec3& getHome() const { return home_; }

private:
    // Two large directional dust puffs beside the arm, on its parent.
    void puffDust();

    cocos2d::Vec3 home_;
};

// Turns the arm's hit phase into its animations:
// | 0 | stop everything, idle frame, retreat, then the saved order again  |
// | 1 | order 1,500,000 and spawn(0.4)                                     |
// | 2 | follow the target, idle loop                                       |
// | 3 | stop the idle loop, stop following, slam(slam time - 0.6)          |
// | 5 | stop everything, hit                                               |
// Others change nothing. The slam time is the record's warning time (the
// length of phase 3). Main thread only.
class FollowHitTrapVisualMediator : public CocosVisualNodeMediator {
public:
    // record: the arm's, owned by the map. savedOrder: the arm's order to
    // return to.
    FollowHitTrapVisualMediator(BossArm* arm, const Zarn::DelayedTrapElement* record, float savedOrder);
    void onStateChanged(u32 oldState, u32 newState) override;

private:
    cocos2d::RefPtr<BossArm> arm_;
    const Zarn::DelayedTrapElement* record_;
    float savedOrder_;
};

// The arm's node: holds the arm, feeds it the point the trap aims at, and
// lets the adapter report the hit phase. Engine create pattern.
class FollowHitTrapCocos2D : public cocos2d::Sprite {
public:
    static FollowHitTrapCocos2D* create(Zarn::FollowHitTrap* trap, const Zarn::ZOrderCalculator* zOrder);
    ~FollowHitTrapCocos2D() override;

    bool initWithTrap(Zarn::FollowHitTrap* trap, const Zarn::ZOrderCalculator* zOrder);
    void update(float dt) override;

    BossArm* getArm() const { return arm_; }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    Zarn::FollowHitTrap2D* getAdapter() const { return adapter_.get(); }

private:
    BossArm* arm_ = nullptr;
    Zarn::FollowHitTrap* trap_ = nullptr;
    const Zarn::ZOrderCalculator* zOrder_ = nullptr;
    std::unique_ptr<Zarn::FollowHitTrap2D> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<FollowHitTrapVisualMediator> visual_;
};
