#include "visuals/traps/CocosTrap2DFactory.h"

#include "engine/ActionInstant.h"
#include "engine/SpriteFrameCache.h"
#include "foundation/Error.h"
#include "grid/CellGrid.h"
#include "presentation/mediators/MediatedSprite.h"
#include "visuals/traps/BombVisual.h"
#include "visuals/traps/BossArm.h"
#include "visuals/traps/BossVisual.h"
#include "visuals/traps/CannonBeam.h"
#include "visuals/traps/IntervalTrapVisualMediator.h"
#include "visuals/traps/RatTrapVisual.h"
#include "visuals/traps/RedGreenSign.h"
#include "visuals/traps/TrapVisualTemplates.h"
#include "visuals/traps/VortexTrapVisual.h"

using Zarn::NodeMediator;
using Zarn::Trap;

namespace {

template <class T>
T* trapAs(Trap* trap, const char* refusal) {
    auto* typed = dynamic_cast<T*>(trap);
    if (typed == nullptr) throw Convinience::Error(refusal);
    return typed;
}

constexpr float kTrapScale = 0.4f;

// Scales the made visual and hands back its node mediator.
template <class V>
NodeMediator* scaled(V* visual) {
    if (visual == nullptr) throw Convinience::Error("trap visual could not be made");
    visual->setScale(kTrapScale);
    return visual->getMediator();
}

using IntervalDoor = FPTDCocos2D<Zarn::BaseIntervalTrap, Zarn::IntervalTrap2D, FPTDVisualMediator>;
using ScheduledDoor = FPTDCocos2D<Zarn::ScheduledTrap, Zarn::ScheduledTrap2D, FPTDScheduledVisualMediator>;
using SpikeVisual = SimpleTrapCocos2D<Zarn::BaseIntervalTrap, Zarn::IntervalTrap2D>;
using ScheduledSpikeVisual = SimpleTrapCocos2D<Zarn::ScheduledTrap, Zarn::ScheduledTrap2D>;
using FollowSpawnerVisual = GenericSpawningTrapCocos2D<Zarn::FollowSpawningTrap, Zarn::FollowSpawningTrap2D>;
using TrapSpawnerVisual = GenericSpawningTrapCocos2D<Zarn::TrapSpawningTrap, Zarn::TrapSpawningTrap2D>;

// The base sprite that plays a simple trap's actions: one tile, anchored at
// its lower-left corner on the visual's origin.
MediatedSprite* makeBaseSprite(cocos2d::SpriteFrame* frame) {
    auto* base = cocos2d::createWithMethod<MediatedSprite>(&MediatedSprite::initWithSpriteFrame, frame);
    if (base == nullptr) throw Convinience::Error("trap visual could not be made");
    base->setContentSize(cocos2d::Size(160.0f, 160.0f));
    base->setAnchorPoint(cocos2d::Vec2(0.0f, 0.0f));
    base->setPosition(cocos2d::Vec2(0.0f, 0.0f));
    return base;
}

}  // namespace

CocosTrap2DFactory::CocosTrap2DFactory(Zarn::TileVisualGroups* tileVisuals, Zarn::ZOrderCalculator* zOrder,
                                       const Zarn::SteerableUnitManager* players, const Zarn::CellGrid* grid)
    : Trap2DFactory(grid != nullptr ? static_cast<i32>(grid->getCellSize()) : zOrder->cellSize()),
      tileVisuals_(tileVisuals),
      zOrder_(zOrder),
      players_(players),
      grid_(grid) {}

NodeMediator* CocosTrap2DFactory::createTrap2D(Trap* trap) {
    switch (trap->trapRecord->elementId) {
        case 43:
        case 44:
        case 45:
        case 134:
        case 143:
        case 356:
            return makeFourPanelDoor(trap);
        case 46:
        case 127:
            return makeSpike(trap);
        case 47:
        case 48:
        case 49:
        case 50:
        case 51:
            // The world makes follow-hit traps of 50 and 51: they are shown as
            // arms.
            if (dynamic_cast<Zarn::FollowHitTrap*>(trap) != nullptr) return makeArm(trap);
            return makeRatTrap(trap);
        case 55:
            return makeVortex(trap);
        case 56:
            return makeRedGreenSign(trap);
        case 121:
            return makeScheduledDoor(trap);
        case 122:
            return makeScheduledSpike(trap);
        case 128:
            return makeBomb(trap);
        case 129:
            return makeFollowSpawner(trap);
        case 130:
            return makeTrapSpawner(trap);
        case 131:
            return makeCannon(trap);
        case 132:
        case 136:
            return makeArm(trap);
        case 133:
            return makeBoss(trap);
        default:
            throw Convinience::Error("No such trap id");
    }
}

NodeMediator* CocosTrap2DFactory::makeFourPanelDoor(Trap* trap) {
    auto* interval = trapAs<Zarn::BaseIntervalTrap>(trap, "not interval trap");
    return scaled(IntervalDoor::create(interval, tileVisuals_, zOrder_));
}

NodeMediator* CocosTrap2DFactory::makeScheduledDoor(Trap* trap) {
    auto* scheduled = trapAs<Zarn::ScheduledTrap>(trap, "not scheduled trap type");
    return scaled(ScheduledDoor::create(scheduled, tileVisuals_, zOrder_));
}

template <class Visual, class T>
NodeMediator* CocosTrap2DFactory::makeOnBase(T* trap, MediatedSprite* base, const char* frame, bool raised) {
    auto mediator = std::make_unique<IntervalTrap2DVisualMediator>(
        base, trap->trapRecord, animationFactory_.createTrapAnimations(*trap->trapRecord, base), zOrder_);
    Visual* visual = Visual::create(animationFactory_.getSpriteFrameCache()->getSpriteFrameByName(frame),
                                    std::move(mediator), trap, tileVisuals_, zOrder_);
    if (visual != nullptr && raised) {
        visual->getAdapter()->layered = false;
        visual->getMediator()->setZOrder(visual->getAdapter()->raisedZOrder());
    }
    return scaled(visual);
}

NodeMediator* CocosTrap2DFactory::makeSpike(Trap* trap) {
    auto* interval = trapAs<Zarn::BaseIntervalTrap>(trap, "Not interval trap type");
    MediatedSprite* base = makeBaseSprite(animationFactory_.getFirstFrame(*trap->trapRecord));
    base->setPositionX(-25.0f);
    return makeOnBase<SpikeVisual>(interval, base, "spike_grill.png", true);
}

NodeMediator* CocosTrap2DFactory::makeScheduledSpike(Trap* trap) {
    auto* scheduled = trapAs<Zarn::ScheduledTrap>(trap, "not scheduled trap type");
    MediatedSprite* base = makeBaseSprite(animationFactory_.getFirstFrame(*trap->trapRecord));
    return makeOnBase<ScheduledSpikeVisual>(scheduled, base, "Spike_Trap_Grill.png", true);
}

NodeMediator* CocosTrap2DFactory::makeVortex(Trap* trap) {
    auto* interval = trapAs<Zarn::BaseIntervalTrap>(trap, "Not interval trap type");
    MediatedSprite* base =
        makeBaseSprite(animationFactory_.getSpriteFrameCache()->getSpriteFrameByName("Trap_Door_1.png"));
    return makeOnBase<VortexTrapCocos2D>(interval, base, "Trap_Door_Base.png", false);
}

NodeMediator* CocosTrap2DFactory::makeRatTrap(Trap* trap) {
    auto* rat = trapAs<Zarn::RatTrap>(trap, "Not a rat trap type");
    return scaled(RatTrapCocos2D::create(rat, tileVisuals_, zOrder_, grid_));
}

NodeMediator* CocosTrap2DFactory::makeRedGreenSign(Trap* trap) {
    auto* interval = trapAs<Zarn::IntervalTrap>(trap, "Not interval trap type");
    RedGreenSignCocos2D* sign = RedGreenSignCocos2D::create(interval, tileVisuals_, zOrder_);
    if (sign != nullptr) sign->setLocalZOrder(zOrder_->highRowMiddle(trap->trapRecord->position.y) + 200);
    return scaled(sign);
}

NodeMediator* CocosTrap2DFactory::makeBomb(Trap* trap) {
    auto* bomb = trapAs<Zarn::Bomb>(trap, "not a bomb");
    return scaled(CocosBomb2D::create(bomb, zOrder_, tileVisuals_));
}

NodeMediator* CocosTrap2DFactory::makeFollowSpawner(Trap* trap) {
    auto* spawner = trapAs<Zarn::FollowSpawningTrap>(trap, "not follow trap type");
    FollowSpawnerVisual* visual = FollowSpawnerVisual::create(this, spawner, tileVisuals_);
    if (visual == nullptr) throw Convinience::Error("trap visual could not be made");
    return visual->getMediator();
}

NodeMediator* CocosTrap2DFactory::makeTrapSpawner(Trap* trap) {
    auto* spawner = trapAs<Zarn::TrapSpawningTrap>(trap, "not tst type");
    TrapSpawnerVisual* visual = TrapSpawnerVisual::create(this, spawner, tileVisuals_);
    if (visual == nullptr) throw Convinience::Error("trap visual could not be made");
    return visual->getMediator();
}

NodeMediator* CocosTrap2DFactory::makeCannon(Trap* trap) {
    auto* interval = trapAs<Zarn::IntervalTrap>(trap, "not interval trap");
    if (dynamic_cast<const Zarn::LineIntervalTrapElement*>(&interval->intervalRecord()) == nullptr)
        throw Convinience::Error("not line trap element");
    return scaled(CannonBeamCocos2D::create(interval, zOrder_, tileVisuals_));
}

NodeMediator* CocosTrap2DFactory::makeArm(Trap* trap) {
    auto* arm = trapAs<Zarn::FollowHitTrap>(trap, "not follow hit trap");
    FollowHitTrapCocos2D* visual = FollowHitTrapCocos2D::create(arm, zOrder_);
    if (visual != nullptr && armFacesRight(trap->trapRecord->elementId)) visual->getArm()->faceRight();
    return scaled(visual);
}

NodeMediator* CocosTrap2DFactory::makeBoss(Trap* trap) {
    auto* boss = trapAs<Zarn::Boss>(trap, "not boss trap");
    return scaled(BossCocos2D::create(boss, tileVisuals_, zOrder_, players_));
}
