#pragma once

#include <memory>

#include "engine/Sprite3D.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/scene/PlayerAssets.h"
#include "simulation/scene/SteerableVisualSync.h"

class Steerable3DSubsituteFactory;

// A steerable unit's 3D visual: the model, its node mediator (null visual
// delegate), its controller (Player3DAnimController for a player,
// Player3DAnimSubController for a squashed substitute) and the sync record,
// which the visual steps itself every frame once its update is scheduled
// (state, effects, transform, move; rotating).
//
// The unit, the calculator and the factory outlive the visual (the unit is
// watched by the sync); the look is read during init only. Main thread only.
template <class Controller>
class SteerableCocos3D : public cocos2d::Sprite3D {
public:
    // Engine create pattern; null when the model cannot be made.
    static SteerableCocos3D* create(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder,
                                    const Zarn::Player3DAssets& assets,
                                    Steerable3DSubsituteFactory* factory) {
        return cocos2d::createWithMethod<SteerableCocos3D>(&SteerableCocos3D::initWithUnit, unit, zOrder,
                                                           assets, factory);
    }

    ~SteerableCocos3D() override {
        controller_.reset();
        sync_.reset();
        mediator_.reset();
    }

    bool initWithUnit(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder,
                      const Zarn::Player3DAssets& assets, Steerable3DSubsituteFactory* factory) {
        if (!initWithFile(assets.models.files[0])) return false;
        unit_ = unit;
        zOrder_ = zOrder;
        factory_ = factory;
        mediator_ = std::make_unique<Cocos3DNode1Mediator>(this, &delegate_);
        controller_ = std::make_unique<Controller>(this, zOrder, assets, factory);
        sync_ = std::make_unique<Zarn::SteerableVisualSync>(mediator_.get(), unit, controller_.get(), zOrder);
        return true;
    }

    void update(float) override {
        sync_->updateStateAnimation();
        sync_->updateEffects();
        sync_->updateTransform();
        sync_->updateMoveAnimation();
    }

    Cocos3DNode1Mediator* getMediator() const { return mediator_.get(); }
    Zarn::SteerableVisualSync* getSync() const { return sync_.get(); }
    Controller* getController() const { return controller_.get(); }

private:
    Zarn::SteerableUnit* unit_ = nullptr;
    std::unique_ptr<Cocos3DNode1Mediator> mediator_;
    Zarn::NullVisualNodeMediator delegate_;
    std::unique_ptr<Zarn::SteerableVisualSync> sync_;
    std::unique_ptr<Controller> controller_;
    const Zarn::ZOrderCalculator* zOrder_ = nullptr;
    Steerable3DSubsituteFactory* factory_ = nullptr;
};
