#pragma once

#include <memory>

#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/adapters/SimpleTrap2D.h"
#include "simulation/adapters/SpawningTrap2D.h"
#include "visuals/traps/ElementSprites.h"
#include "visuals/traps/FourPanelTrapDoor.h"
#include "visuals/traps/IntervalTrapVisualMediator.h"
#include "visuals/traps/VisualActions.h"

// The generic trap visuals: a sprite node that owns the trap's world-side
// adapter, its visual mediator and its node mediator, and whose update only
// drives the adapter. A failure in the update (a text the world or a sound
// throws) is logged once and that frame's sync is skipped. The trap, the tile
// table and the calculator belong to the world and the scene and outlive the
// visual. Engine create pattern; main thread only.

// One sprite over a one-tile trap (spikes, the scheduled spike, the vortex):
// the sprite shows the trap's fixed frame (the grill) and holds the base
// sprite of its mediator, which plays the trap's actions.
template <class T, class Adapter>
class SimpleTrapCocos2D : public cocos2d::Sprite {
public:
    // frame may be null (an empty sprite). Null when the sprite cannot be made.
    static SimpleTrapCocos2D* create(cocos2d::SpriteFrame* frame,
                                     std::unique_ptr<SimpleTrap2DVisualMediator> mediator, T* trap,
                                     Zarn::TileVisualGroups* tileVisuals,
                                     const Zarn::ZOrderCalculator* zOrder) {
        auto* visual = new SimpleTrapCocos2D();
        return finishCreate(visual, frame, std::move(mediator), trap, tileVisuals, zOrder);
    }

    ~SimpleTrapCocos2D() override {
        nodeMediator_.reset();
        visual_.reset();
        adapter_.reset();
    }

    void update(float) override {
        runGuarded([this] { adapter_->syncVisual(); });
    }

    Adapter* getAdapter() const { return adapter_.get(); }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    SimpleTrap2DVisualMediator* getVisualMediator() const { return visual_.get(); }

protected:
    SimpleTrapCocos2D() = default;

    template <class V>
    static V* finishCreate(V* visual, cocos2d::SpriteFrame* frame,
                           std::unique_ptr<SimpleTrap2DVisualMediator> mediator, T* trap,
                           Zarn::TileVisualGroups* tileVisuals, const Zarn::ZOrderCalculator* zOrder) {
        visual->frame_ = frame;
        visual->visual_ = std::move(mediator);
        visual->trap_ = trap;
        visual->tileVisuals_ = tileVisuals;
        visual->zOrder_ = zOrder;
        if (visual->setUp()) {
            visual->autorelease();
            return visual;
        }
        delete visual;
        return nullptr;
    }

    // The adapter this visual keeps.
    virtual std::unique_ptr<Adapter> makeAdapter() {
        return std::make_unique<Adapter>(trap_, nodeMediator_.get(), tileVisuals_, zOrder_);
    }

    // Sprite with its frame (or empty), one tile, cascading opacity; the
    // mediator's node; the node mediator; the adapter with the base sprite's
    // mediator as its second node (added as a child); the adapter's set-up.
    bool setUp() {
        if (visual_ == nullptr) return false;
        const bool ready = frame_ != nullptr ? initWithSpriteFrame(frame_) : Sprite::init();
        if (!ready) return false;
        setContentSize(cocos2d::Size(160.0f, 160.0f));
        setCascadeOpacityEnabled(true);
        visual_->setNode(this);
        nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
        adapter_ = makeAdapter();
        if (MediatedSprite* base = visual_->getBaseSprite()) {
            adapter_->secondaryNode = base->getMediator();
            nodeMediator_->addChild(base->getMediator());
        }
        adapter_->setupVisual();
        return true;
    }

    cocos2d::SpriteFrame* frame_ = nullptr;
    T* trap_ = nullptr;
    Zarn::TileVisualGroups* tileVisuals_ = nullptr;
    const Zarn::ZOrderCalculator* zOrder_ = nullptr;
    std::unique_ptr<SimpleTrap2DVisualMediator> visual_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<Adapter> adapter_;
};

// The four-panel trap door over an interval trap (FPTDVisualMediator) or a
// scheduled trap (FPTDScheduledVisualMediator): the door's base frame, the
// panel layer with its panels, and the mediator that slides them. The panel
// layer is lifted into the door's parent when the door is added there, so
// that it takes its own drawing order (the top of the row's base band - 5) among the
// room's nodes; it leaves with the door.
template <class T, class Adapter, class Mediator>
class FPTDCocos2D : public FourPanelTrapDoorCocos2DBase {
public:
    static FPTDCocos2D* create(T* trap, Zarn::TileVisualGroups* tileVisuals,
                               const Zarn::ZOrderCalculator* zOrder) {
        return cocos2d::createWithMethod<FPTDCocos2D>(&FPTDCocos2D::initWithTrap, trap, tileVisuals, zOrder);
    }

    ~FPTDCocos2D() override {
        adapter_.reset();
        nodeMediator_.reset();
        visual_.reset();
        standby_.reset();
    }

    void update(float) override {
        runGuarded([this] { adapter_->syncVisual(); });
    }

    // The trap's record when it is a four-panel door record; otherwise a
    // stand-by copy: the trap part of the trap's record, its three times when
    // it is an interval record (else 0), panel mode 0.
    bool initWithTrap(T* trap, Zarn::TileVisualGroups* tileVisuals, const Zarn::ZOrderCalculator* zOrder) {
        trap_ = trap;
        door_ = dynamic_cast<const Zarn::FourPanelTrapDoorElement*>(trap->trapRecord);
        if (door_ == nullptr) {
            standby_ = std::make_unique<Zarn::FourPanelTrapDoorElement>();
            static_cast<Zarn::TrapElement&>(*standby_) = *trap->trapRecord;
            const auto* interval = dynamic_cast<const Zarn::IntervalTrapElement*>(trap->trapRecord);
            standby_->startDelay = interval != nullptr ? interval->startDelay : 0.0f;
            standby_->activeTime = interval != nullptr ? interval->activeTime : 0.0f;
            standby_->restTime = interval != nullptr ? interval->restTime : 0.0f;
            standby_->panelFlag = 0;
            door_ = standby_.get();
        }
        if (!initWithSpriteFrameName("fp_trap_door_base.png")) return false;
        createPanels();
        visual_ =
            std::make_unique<Mediator>(this, defaultElementAnimations(), door_, panelLayer_, getPanels());
        nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
        adapter_ = std::make_unique<Adapter>(trap, nodeMediator_.get(), tileVisuals, zOrder);
        adapter_->secondaryNode = panelLayer_->getMediator();
        nodeMediator_->addChild(panelLayer_->getMediator());
        nodeMediator_->liftList.emplace_back(panelLayer_);
        adapter_->setupVisual();
        // Over its own row's floor and walls, under the walls of the rows in
        // front (whose top faces reach up over this row) and the players.
        panelLayer_->setLocalZOrder(zOrder->rowTop(trap->trapRecord->position.y) - 5);
        return true;
    }

    Adapter* getAdapter() const { return adapter_.get(); }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    Mediator* getVisualMediator() const { return visual_.get(); }
    const Zarn::FourPanelTrapDoorElement* getDoorRecord() const { return door_; }

private:
    T* trap_ = nullptr;
    const Zarn::FourPanelTrapDoorElement* door_ = nullptr;
    std::unique_ptr<Zarn::FourPanelTrapDoorElement> standby_;
    std::unique_ptr<Mediator> visual_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<Adapter> adapter_;
};

// The invisible node of a trap that makes other traps: its adapter asks the
// factory for the pictures of the traps the trap makes.
template <class T, class Adapter>
class GenericSpawningTrapCocos2D : public cocos2d::Sprite {
public:
    static GenericSpawningTrapCocos2D* create(Zarn::Trap2DFactory* factory, T* trap,
                                              Zarn::TileVisualGroups* tileVisuals) {
        return cocos2d::createWithMethod<GenericSpawningTrapCocos2D>(
            &GenericSpawningTrapCocos2D::initWithTrap, factory, trap, tileVisuals);
    }

    ~GenericSpawningTrapCocos2D() override {
        adapter_.reset();
        nodeMediator_.reset();
    }

    void update(float) override {
        runGuarded([this] { adapter_->syncVisual(); });
    }

    bool initWithTrap(Zarn::Trap2DFactory* factory, T* trap, Zarn::TileVisualGroups* tileVisuals) {
        if (!Sprite::init()) return false;
        scheduleUpdate();
        nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, &nullVisual_);
        adapter_ = std::make_unique<Adapter>(factory, trap, nodeMediator_.get(), tileVisuals);
        adapter_->setupVisual();
        return true;
    }

    Adapter* getAdapter() const { return adapter_.get(); }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }

private:
    Zarn::NullVisualNodeMediator nullVisual_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<Adapter> adapter_;
};
