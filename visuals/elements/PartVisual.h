#pragma once

#include <memory>

#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/players/SteerableUnitSync.h"

namespace cocos2d {
class Animate;
}

// How a walking figure shows its motion each frame: facing (the art faces
// left: flipped while moving right at 0.1 or more, unflipped while moving left
// faster than 0.1, otherwise unchanged) and walking (starts above speed 0.1,
// stops below it; exactly 0.1 changes nothing).
struct WalkLook {
    bool flipped = false;
    bool walking = false;
};
WalkLook nextWalkLook(const WalkLook& now, const cocos2d::Vec2& velocity);

// PART (type 358): a robot figure that follows its unit, faces where it walks
// and plays "part_anim_1.png" .. 8 (1/24 s a frame) while it walks; stopping
// stops every action on the sprite. Anchored at its feet (0.5, 0.25). Its
// node mediator answers to no state. Main thread only.
class PARTCocos2D : public cocos2d::Sprite {
public:
    // unit: the figure's steered prop (watched: once it is gone the figure
    // stands still).
    static PARTCocos2D* create(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder);
    bool initWithUnit(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder);
    ~PARTCocos2D() override;

    void update(float dt) override;

    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    bool isWalking() const { return walking_; }

private:
    SteerableUnitSync sync_{nullptr, nullptr};
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    bool walking_ = false;
    cocos2d::RefPtr<cocos2d::Animate> walkAnimation_;
};
