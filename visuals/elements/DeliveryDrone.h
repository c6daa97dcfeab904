#pragma once

#include <memory>
#include <vector>

#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "presentation/players/SteerableUnitSync.h"
#include "visuals/elements/ElementNodes.h"

namespace cocos2d {
class FiniteTimeAction;
}

// The nodes the delivery drones may carry (the coffee cups, types 387 and
// 388), in the order the room's elements were made. Owned by the map element
// visual factory for the level's lifetime; the nodes belong to the node tree.
using DeliveryTargets = std::vector<cocos2d::Node*>;

// Where an arm puts its shoulder and how it bends to reach a point.
struct DroneArmPose {
    float upperRotation = 0.0f;
    float forearmRotation = 0.0f;
    // In the drone's space.
    float shoulderX = 0.0f;
};
// delta: the target minus the shoulder (arm space); armX: the arm's x in the
// drone. Within reach the shoulder stays and the arm bends (solveTwoBoneArm);
// out of reach (at the full length too) the arm points straight and the
// shoulder slides toward the target by the shortfall's horizontal share,
// never past x = 90 to the right nor x = 40 to the left. Without a solution
// the current rotations are kept.
DroneArmPose solveDroneArm(const cocos2d::Vec2& delta, float upperLength, float forearmLength, float armX,
                           float currentUpper, float currentForearm);

// One arm of the drone: shoulder "delivery_drone_shoulder_inner.png" /
// "_outer.png", upper arm "delivery_drone_backarm.png" and forearm
// "delivery_drone_forearm.png" (both anchored at 0.93 of their width). A held
// cup stays upright however the arm bends. Main thread only.
class DeliveryDroneArm : public cocos2d::Node {
public:
    static DeliveryDroneArm* create();
    bool init() override;
    void update(float dt) override;

    DroneArmPose solveArm(const cocos2d::Vec2& worldTarget) const;
    // Actions for the caller to run on the drone (0.2 s): bend to the point;
    // back to the rest pose; reach for the item and take it onto the forearm;
    // reach for the point and set the held item down into newParent (an empty
    // delay when nothing is held).
    cocos2d::FiniteTimeAction* reachTo(const cocos2d::Vec2& worldPoint);
    cocos2d::FiniteTimeAction* restPose();
    cocos2d::FiniteTimeAction* grab(cocos2d::Node* item);
    cocos2d::FiniteTimeAction* putDown(const cocos2d::Vec2& worldPoint, cocos2d::Node* newParent);

    float upperArmLength() const { return upperArmLength_; }
    float forearmLength() const { return forearmLength_; }
    cocos2d::Node* getHeldItem() const { return heldItem_; }
    cocos2d::Sprite* getUpperArm() const { return upperArm_; }
    cocos2d::Sprite* getForearm() const { return forearm_; }

    // Set by the drone node; may be null. Not owned.
    const Zarn::ZOrderCalculator* zOrderCalculator = nullptr;

private:
    cocos2d::FiniteTimeAction* bend(const DroneArmPose& pose, cocos2d::FiniteTimeAction* move);
    void attach(cocos2d::Node* item);
    void release(cocos2d::Node* newParent);

    cocos2d::Sprite* shoulderInner_ = nullptr;
    cocos2d::Sprite* upperArm_ = nullptr;
    cocos2d::Sprite* forearm_ = nullptr;
    float upperArmLength_ = 0.0f;
    float forearmLength_ = 0.0f;
    cocos2d::Sprite* shoulderOuter_ = nullptr;
    // A child of the forearm while held.
    cocos2d::Node* heldItem_ = nullptr;
    float heldWorldScale_ = 1.0f;
};

// The drone's robot: body, head and wheels over two arms (arm 1 high at
// (90, 147), arm 2 low at (90, 62)), an empty 130 x 150 sprite. While moving
// the wheels roll and the parts bob. Main thread only.
class DeliveryDrone : public cocos2d::Sprite {
public:
    static DeliveryDrone* create();
    bool init() override;

    // Fresh clones of the roll and the bobs on the parts.
    void startMoving();
    // Stops the parts' actions and puts them back at rest.
    void stopMoving();
    // Whether either arm (arm 1 first) reaches the world point: within both
    // segments' length + 25 of (0, 65) in the arm's space.
    bool canReach(const cocos2d::Vec2& worldPoint) const;

    DeliveryDroneArm* getArm1() const { return arm1_; }
    DeliveryDroneArm* getArm2() const { return arm2_; }
    cocos2d::Sprite* getHead() const { return head_; }
    cocos2d::Sprite* getBody() const { return body_; }
    cocos2d::Sprite* getWheels() const { return wheels_; }
    const cocos2d::Vec2& getHeadRest() const { return headRest_; }

private:
    cocos2d::Sprite* body_ = nullptr;
    cocos2d::Sprite* head_ = nullptr;
    cocos2d::Sprite* wheels_ = nullptr;
    DeliveryDroneArm* arm1_ = nullptr;
    DeliveryDroneArm* arm2_ = nullptr;
    cocos2d::RefPtr<cocos2d::Action> wheelRoll_, wheelsBob_, bodyBob_, headBob_;
    cocos2d::Vec2 wheelsRest_, bodyRest_, headRest_, arm1Rest_, arm2Rest_;
};

// The drone's reactions to its figure's value (the arms' commands): 3 and 9
// nothing; 6 arm 1 takes the first reachable cup of the targets while arm 2
// points at it; 7 arm 1 puts the held cup on the head; 8 arm 1 sets it down
// 120 in front of the drone and 60 up; anything else both arms rest. Shows
// and hides with the default sounds only.
class DeliveryDroneVisualMediator : public ElementVisualMediator {
public:
    DeliveryDroneVisualMediator(cocos2d::Node* node, DeliveryDrone* drone, const DeliveryTargets* targets);

    void onStateChanged(u32 oldState, u32 newState) override;

private:
    DeliveryDrone* drone_;
    const DeliveryTargets* targets_;
};

// The outer node of a delivery drone (type 301): follows the figure's unit,
// faces where it moves (the art faces left) and starts and stops the robot's
// motion; drawn 255 above its row. Owns its adapter and mediators (destroyed:
// adapter, node mediator, visual mediator).
class DeliveryDroneCocos2D : public cocos2d::Sprite {
public:
    static DeliveryDroneCocos2D* create(Zarn::SteerableIME* unit, const Zarn::ZOrderCalculator* zOrder,
                                        const DeliveryTargets* targets);
    bool initWithUnit(Zarn::SteerableIME* unit, const Zarn::ZOrderCalculator* zOrder,
                      const DeliveryTargets* targets);
    ~DeliveryDroneCocos2D() override;

    void update(float dt) override;

    DeliveryDrone* getDrone() const { return drone_; }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    bool isMoving() const { return moving_; }

private:
    SteerableUnitSync sync_{nullptr, nullptr};
    DeliveryDrone* drone_ = nullptr;
    const Zarn::ZOrderCalculator* zOrder_ = nullptr;
    std::unique_ptr<DeliveryDroneVisualMediator> visual_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    Zarn::SteerableIME* unit_ = nullptr;
    const DeliveryTargets* targets_ = nullptr;
    std::unique_ptr<Zarn::SteerableElement2D> adapter_;
    bool moving_ = false;
};
