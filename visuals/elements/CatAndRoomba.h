#pragma once

#include <memory>
#include <optional>

#include "engine/DrawNode.h"
#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/players/SteerableUnitSync.h"

// Where a pupil goes, relative to its eye's centre, for a target (both in
// world space): nothing when the target is nearer the eye than `travel`;
// else `travel` along the direction to the target, its x negated for a
// mirrored cat.
std::optional<cocos2d::Vec2> pupilOffset(const cocos2d::Vec2& eyeWorld, const cocos2d::Vec2& target,
                                         bool mirrored, float travel);

// A seated cat ("cat_0.png", types 332 and 336) whose two pupils follow the
// player: each frame, once scheduled and while a player visual is set. Main
// thread only.
class CatCocos2D : public cocos2d::Sprite {
public:
    static CatCocos2D* create();
    bool init() override;
    void update(float dt) override;

    // The player's visual node, or null; not owned (the player visuals
    // outlive the room's props).
    cocos2d::Node* player = nullptr;
    // Set by the maker when it mirrors the cat.
    bool mirrored = false;

    cocos2d::DrawNode* getLeftPupil() const { return leftPupil_; }
    cocos2d::DrawNode* getRightPupil() const { return rightPupil_; }
    const cocos2d::Vec2& getTarget() const { return target_; }

    static constexpr float kPupilTravel = 3.0f;
    static const cocos2d::Vec2 kLeftPupilRest;
    static const cocos2d::Vec2 kRightPupilRest;
    static const cocos2d::Vec2 kLeftEyeCentre;
    static const cocos2d::Vec2 kRightEyeCentre;

private:
    void movePupil(cocos2d::DrawNode* pupil, const cocos2d::Vec2& eyeCentre);

    cocos2d::Vec2 target_;
    // Children of the cat.
    cocos2d::DrawNode* leftPupil_ = nullptr;
    cocos2d::DrawNode* rightPupil_ = nullptr;
};

// A roomba (types 300 and 302): "roomba.png" that follows its unit, turns with
// the unit's heading and carries a riding cat that does not turn. Its node
// mediator answers to no state. Main thread only.
class RoombaCocos2D : public cocos2d::Sprite {
public:
    static RoombaCocos2D* create(const Zarn::ZOrderCalculator* zOrder);
    bool initWithCalculator(const Zarn::ZOrderCalculator* zOrder);
    ~RoombaCocos2D() override;

    // Attaches the unit the roomba follows (null: it stands still).
    void attachUnit(Zarn::SteerableUnit* unit);
    // While a unit is attached: position, body rotation and drawing order
    // from the unit.
    void update(float dt) override;

    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    CatCocos2D* getCat() const { return cat_; }
    cocos2d::Sprite* getBody() const { return body_; }

private:
    SteerableUnitSync sync_{nullptr, nullptr};
    cocos2d::Sprite* body_ = nullptr;
    CatCocos2D* cat_ = nullptr;
    const Zarn::ZOrderCalculator* zOrder_ = nullptr;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
};
