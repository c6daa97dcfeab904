#pragma once

#include <memory>

#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "simulation/adapters/SimpleTrap2D.h"

// The boss's bombs (type 128): a marker on the floor pulses while the bomb
// falls from 640 above onto it; then the explosion, or, when the bomb lands
// on a bombable trap instead, a bomb that squashes away.

// The fall's numbers for a fall time T (the record's start delay): the
// bomb's three frames cycle trunc(T / 0.25) times; the marker pulses twice,
// each pulse 2 T / 5. The explosion's frames each last 1.3 x active time / 12.
u32 bombFrameCycles(float fallTime);
float bombExplosionFrame(float activeTime);

// The bomb and its marker. Sounds on the sound player's effects channel.
// Engine create pattern; main thread only.
class CocosBomb : public cocos2d::Sprite {
public:
    // record: the bomb's, outliving the node.
    static CocosBomb* create(const Zarn::IntervalTrapElement* record);
    bool initWithRecord(const Zarn::IntervalTrapElement* record);

    // New actions to run on this node (they reach the children by target).
    cocos2d::FiniteTimeAction* fall();
    cocos2d::FiniteTimeAction* explode();
    cocos2d::FiniteTimeAction* squash();

    // Set: the bomb squashes when its fall lands.
    u8 squashOnLanding = 0;

    cocos2d::Sprite* getBomb() const { return bomb_; }
    cocos2d::Sprite* getMarker() const { return marker_; }

private:
    cocos2d::Sprite* bomb_ = nullptr;
    cocos2d::Sprite* marker_ = nullptr;
    const Zarn::IntervalTrapElement* record_ = nullptr;
};

// 0: the fall; 1: whatever runs stops, the explosion; 5: the bomb will
// squash when its fall lands. Others: nothing. Main thread only.
class Bomb2DVisualMediator : public CocosVisualNodeMediator {
public:
    explicit Bomb2DVisualMediator(CocosBomb* bomb) : bomb_(bomb) {}
    void onStateChanged(u32 oldState, u32 newState) override;

    cocos2d::FiniteTimeAction* getLastFall() const { return lastFall_.get(); }

private:
    cocos2d::RefPtr<CocosBomb> bomb_;
    cocos2d::RefPtr<cocos2d::FiniteTimeAction> lastFall_;
};

// The bomb's node: one tile in the raised band of its row, the bomb above
// everything else of the node. Engine create pattern; main thread only.
class CocosBomb2D : public cocos2d::Sprite {
public:
    static CocosBomb2D* create(Zarn::Bomb* trap, const Zarn::ZOrderCalculator* zOrder,
                               Zarn::TileVisualGroups* tileVisuals);
    ~CocosBomb2D() override;

    bool initWithTrap(Zarn::Bomb* trap, const Zarn::ZOrderCalculator* zOrder,
                      Zarn::TileVisualGroups* tileVisuals);
    void update(float dt) override;

    CocosBomb* getBomb() const { return bomb_; }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }

private:
    std::unique_ptr<Bomb2DVisualMediator> visual_;
    CocosBomb* bomb_ = nullptr;
    std::unique_ptr<Zarn::IntervalTrap2D> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
};
