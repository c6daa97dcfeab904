#pragma once

#include <memory>

#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/players/Player2DAnimController.h"
#include "simulation/scene/SteerableVisualSync.h"

// A player's 2D visual: the sprite, its node mediator (with a null visual
// delegate), its animation controller and the sync record that binds it to
// the unit. The sync is mirroring (not rotating) and is stepped by the scene.
// The unit and the calculator outlive the visual (the unit is watched by the
// sync); the look is copied by the controller. Main thread only.
class SteerableCocos2D : public cocos2d::Sprite {
public:
    // Engine create pattern; null when the sprite cannot be made from the
    // first frame of the look's list 3.
    static SteerableCocos2D* create(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder,
                                    const Zarn::Player2DAssets& assets);
    ~SteerableCocos2D() override;

    bool initWithUnit(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder,
                      const Zarn::Player2DAssets& assets);

    CocosNode1Mediator* getMediator() const { return mediator_.get(); }
    Zarn::SteerableVisualSync* getSync() const { return sync_.get(); }
    Player2DAnimController* getController() const { return controller_.get(); }

private:
    Zarn::SteerableUnit* unit_ = nullptr;
    const Zarn::ZOrderCalculator* zOrder_ = nullptr;
    std::unique_ptr<CocosNode1Mediator> mediator_;
    Zarn::NullVisualNodeMediator delegate_;
    std::unique_ptr<Zarn::SteerableVisualSync> sync_;
    std::unique_ptr<Player2DAnimController> controller_;
};
