#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "simulation/adapters/ElementAdapters.h"
#include "visuals/traps/ElementSprites.h"
#include "visuals/traps/VisualActions.h"

// The shared pieces of the map element visuals. Every element node is a
// sprite that owns its visual mediator, its node mediator and (for an element
// with a state) its world-side adapter, and whose update only drives the
// adapter; a failure in that update (a text a reaction or the world throws)
// is logged once and that frame's sync is skipped. Elements, records, tile
// table and calculator belong to the world and the scene and outlive the
// nodes. Engine create pattern; main thread only.

// The default visual mediator of an element's picture, whose node may be set
// after construction (by the node that takes the mediator). Shows and hides
// with the default sounds and actions; a state change throws
// "MapElement currently does not have states".
class ElementVisualMediator : public MapElement2DVisualMediator {
public:
    ElementVisualMediator(cocos2d::Node* node, MapElementAnimations animations)
        : MapElement2DVisualMediator(node, std::move(animations)) {}

    virtual void setNode(cocos2d::Node* node) { node_ = node; }
    cocos2d::Node* getNode() const { return node_; }
};

// The default mediator for an element that has states: reports of a state
// change are ignored (the default one would throw on them).
class StatelessElementVisualMediator : public ElementVisualMediator {
public:
    using ElementVisualMediator::ElementVisualMediator;
    void onStateChanged(u32, u32) override {}
};

// The default element mediator in the shape the trap visuals' plain sprite
// takes (MediatedAnimatedSprite): forwards to an ElementVisualMediator bound
// to the same node.
class PlainElementVisualMediator : public NodeBoundVisualMediator {
public:
    explicit PlainElementVisualMediator(MapElementAnimations animations)
        : inner_(nullptr, std::move(animations)) {}

    void setNode(cocos2d::Node* node) override {
        NodeBoundVisualMediator::setNode(node);
        inner_.setNode(node);
    }
    void onVisibilityChanged(u8 state) override { inner_.onVisibilityChanged(state); }
    void onStateChanged(u32 oldState, u32 newState) override { inner_.onStateChanged(oldState, newState); }
    void onShowHide(u32 value, u8 state) override { inner_.onShowHide(value, state); }

    const MapElementAnimations& getAnimations() const { return inner_.getAnimations(); }

private:
    ElementVisualMediator inner_;
};

// A free element with a state shown by one sprite of a frame (doors, coins),
// with the visual mediator the maker gives. Destroys the visual mediator, the
// node mediator, then the adapter.
template <class E, class S>
class SimpleElementCocos2D : public cocos2d::Sprite {
public:
    // Takes the mediator. Null when the sprite cannot be made.
    static SimpleElementCocos2D* create(E* element, const std::string& frameName,
                                        std::unique_ptr<ElementVisualMediator> mediator) {
        auto* node = new SimpleElementCocos2D();
        node->element_ = element;
        node->frameName_ = frameName;
        node->visual_ = std::move(mediator);
        if (node->setUp()) {
            node->autorelease();
            return node;
        }
        delete node;
        return nullptr;
    }

    ~SimpleElementCocos2D() override {
        visual_.reset();
        nodeMediator_.reset();
        adapter_.reset();
    }

    void update(float) override {
        runGuarded([this] { adapter_->syncVisual(); });
    }

    Zarn::SimpleElement2D<E, S>* getAdapter() const { return adapter_.get(); }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    ElementVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    SimpleElementCocos2D() = default;

    // The frame; the mediator's node; the node mediator; the adapter and its
    // set-up (which schedules the update).
    bool setUp() {
        if (visual_ == nullptr || !initWithSpriteFrameName(frameName_)) return false;
        visual_->setNode(this);
        nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
        adapter_ = std::make_unique<Zarn::SimpleElement2D<E, S>>(element_, nodeMediator_.get());
        adapter_->setupVisual();
        return true;
    }

    E* element_ = nullptr;
    std::string frameName_;
    std::unique_ptr<Zarn::SimpleElement2D<E, S>> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<ElementVisualMediator> visual_;
};

// A tile element with state class S (conveyor and musical note tiles): an
// empty sprite (or one of a frame) that cascades its opacity to its children
// and holds the element's picture as a child. Without a mediator of the
// maker's it takes the default element mediator; for a state class with a
// value that is the one that ignores state changes (logged once). Destroys
// the adapter, the node mediator, then the visual mediator.
template <class S>
class SimpleTiledIMECocos2D : public cocos2d::Sprite {
public:
    // Takes the mediator when one is given. Null when the sprite cannot be made.
    static SimpleTiledIMECocos2D* create(const std::string& frameName, Zarn::InteractiveMapElement* element,
                                         MapElementAnimations animations, Zarn::TileVisualGroups* tileVisuals,
                                         const Zarn::ZOrderCalculator* zOrder,
                                         std::unique_ptr<ElementVisualMediator> mediator = nullptr) {
        auto* node = new SimpleTiledIMECocos2D();
        node->frameName_ = frameName;
        node->element_ = element;
        if (node->setUp(std::move(animations), tileVisuals, zOrder, std::move(mediator))) {
            node->autorelease();
            return node;
        }
        delete node;
        return nullptr;
    }

    ~SimpleTiledIMECocos2D() override {
        adapter_.reset();
        nodeMediator_.reset();
        visual_.reset();
    }

    void update(float) override {
        runGuarded([this] { adapter_->syncVisual(); });
    }

    Zarn::SimpleTileElement2D<S>* getAdapter() const { return adapter_.get(); }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    ElementVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    SimpleTiledIMECocos2D() = default;

    bool setUp(MapElementAnimations animations, Zarn::TileVisualGroups* tileVisuals,
               const Zarn::ZOrderCalculator* zOrder, std::unique_ptr<ElementVisualMediator> mediator) {
        const bool ready = frameName_.empty() ? Sprite::init() : initWithSpriteFrameName(frameName_);
        if (!ready) return false;
        scheduleUpdate();
        setCascadeOpacityEnabled(true);
        if (mediator != nullptr) {
            visual_ = std::move(mediator);
            visual_->setNode(this);
        } else if constexpr (std::is_same_v<S, Zarn::InteractiveMapElementState>) {
            visual_ = std::make_unique<ElementVisualMediator>(this, std::move(animations));
        } else {
            reportVisualFailure(
                "a tile element with states has no visual of its own; its states are not shown");
            visual_ = std::make_unique<StatelessElementVisualMediator>(this, std::move(animations));
        }
        nodeMediator_ = std::make_unique<CocosNode1Mediator>(this, visual_.get());
        adapter_ = std::make_unique<Zarn::SimpleTileElement2D<S>>(element_, nodeMediator_.get(), tileVisuals,
                                                                  zOrder);
        adapter_->setupVisual();
        return true;
    }

    std::string frameName_;
    Zarn::InteractiveMapElement* element_ = nullptr;
    std::unique_ptr<ElementVisualMediator> visual_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<Zarn::SimpleTileElement2D<S>> adapter_;
};
