#pragma once

#include "engine/RefPtr.h"
#include "presentation/players/CocosPlayerAnimController.h"
#include "presentation/players/SteerableCocos3D.h"

namespace cocos2d {
class Node;
}

// Makes the stand-ins of a 3D player: kind 0 is the squashed substitute, a
// flat model that walks along with the player's unit while the player's own
// model is hidden. Any other kind throws Convinience::Error("no such
// subsitute").
class Steerable3DSubsituteFactory {
public:
    virtual ~Steerable3DSubsituteFactory() = default;
    // The new visual (autoreleased, not yet on a parent), or null when the
    // unit it would follow is gone.
    virtual cocos2d::Node* createSubsitute(u8 kind) = 0;
};

// The substitute maker of one 3D player. Its substitutes carry the player's
// own look, with the squashed base as model and "Squash_Rig|Walk" as walk
// clip. The unit is watched; the calculator outlives the factory; the look is
// copied.
class Steerable3DSubsituteFactoryImpl : public Steerable3DSubsituteFactory {
public:
    Steerable3DSubsituteFactoryImpl(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder,
                                    const Zarn::Player3DAssets& assets);
    cocos2d::Node* createSubsitute(u8 kind) override;
    // The look the substitutes are made with.
    const Zarn::Player3DAssets& substituteAssets() const { return substitute_; }

private:
    Zarn::WatchedUnit unit_;
    const Zarn::ZOrderCalculator* zOrder_;
    Zarn::Player3DAssets assets_;
    Zarn::Player3DAssets substitute_;
};

// The substitute's controller: walks (key 2, the walk clip looping at speed
// 4) while the unit runs, stands still otherwise; no dust, no state
// animations.
class Player3DAnimSubController : public CocosPlayerAnimController {
public:
    Player3DAnimSubController(cocos2d::Sprite3D* visual, const Zarn::ZOrderCalculator* zOrder,
                              const Zarn::Player3DAssets& assets, Steerable3DSubsituteFactory* factory);
    void startRunning() override;
    void stopRunning() override;
};
