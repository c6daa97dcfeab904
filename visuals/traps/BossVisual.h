#pragma once

#include <memory>
#include <string>

#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "simulation/adapters/SimpleTrap2D.h"
#include "visuals/traps/BossBrow.h"
#include "visuals/traps/BossEye.h"

namespace Zarn {
class SteerableUnitManager;
}

// The boss track of a stage number: 1 to 4 "sound/music/boss<N>.mp3"; any
// other stage plays nothing (empty).
std::string bossMusicFile(u8 stage);

// Turns the boss's visible state (0 to 10) into eye and brow animations, the
// boss music and drawing-order changes. Before each reaction the eyes stop
// following the player; some reactions resume it (Boss2DVisualMediator.cpp
// holds the table). The boss node owns this mediator. Main thread only.
class Boss2DVisualMediator : public CocosVisualNodeMediator {
public:
    Boss2DVisualMediator(cocos2d::Node* node, BossEye* leftEye, BossEye* rightEye, BossEyeBrow* brow,
                         const Zarn::BossElement* record, const Zarn::ZOrderCalculator* zOrder);

    void onStateChanged(u32 oldState, u32 newState) override;
    // Once per mediator: stops all music, then loops the stage's track at 0.75.
    void startMusic();

    bool musicStarted() const { return musicStarted_ != 0; }
    int musicHandle() const { return musicHandle_; }

private:
    void resumeTracking();
    // The node's order: yBase of its y - 10 (lowered), highY of its y + 100
    // (raised).
    void lowerNode();
    void raiseNode();
    cocos2d::FiniteTimeAction* call(void (Boss2DVisualMediator::*step)());

    // The node owns this mediator; the parts are retained while kept.
    cocos2d::Node* node_;
    cocos2d::RefPtr<BossEye> leftEye_;
    cocos2d::RefPtr<BossEye> rightEye_;
    cocos2d::RefPtr<BossEyeBrow> brow_;
    const Zarn::BossElement* record_;
    const Zarn::ZOrderCalculator* zOrder_;
    u8 musicStarted_ = 0;
    int musicHandle_ = -1;
};

// The boss's node: two eyes, the brow with its clamps and, from the first
// frame the fight is on, a health bar fixed on the running game scene. The
// eyes look at the first player (the unit of the lowest client ID; with none
// they keep their last target and "invalid player index" is logged once).
// The boss, the tile table, the calculator and the units outlive the node.
// Engine create pattern; main thread only.
class BossCocos2D : public cocos2d::Sprite {
public:
    static BossCocos2D* create(Zarn::Boss* boss, Zarn::TileVisualGroups* tileVisuals,
                               const Zarn::ZOrderCalculator* zOrder,
                               const Zarn::SteerableUnitManager* players);
    // Takes the health bar off the scene.
    ~BossCocos2D() override;

    bool initWithBoss(Zarn::Boss* boss, Zarn::TileVisualGroups* tileVisuals,
                      const Zarn::ZOrderCalculator* zOrder, const Zarn::SteerableUnitManager* players);
    void update(float dt) override;

    BossEye* getLeftEye() const { return leftEye_; }
    BossEye* getRightEye() const { return rightEye_; }
    BossEyeBrow* getBrow() const { return brow_; }
    BossHealth* getHealthBar() const { return healthBar_.get(); }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    Boss2DVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    void showHealth();
    void aimEyes();

    Zarn::Boss* boss_ = nullptr;
    const Zarn::SteerableUnitManager* players_ = nullptr;
    // Children.
    BossEye* leftEye_ = nullptr;
    BossEye* rightEye_ = nullptr;
    BossEyeBrow* brow_ = nullptr;
    // On the running scene, held here.
    cocos2d::RefPtr<BossHealth> healthBar_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<Boss2DVisualMediator> visual_;
    std::unique_ptr<Zarn::Boss2D> adapter_;
};
