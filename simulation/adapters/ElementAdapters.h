#pragma once

#include "map/records/ElevatorPadElement.h"
#include "simulation/adapters/Element2D.h"
#include "world/elements/Checkpoint.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/Lever.h"
#include "world/elements/SteerableIME.h"

namespace Zarn {

// The value a steered prop's adapter reports: the value byte that the
// figure's scripted actions set (the drone's arm commands).
inline u8 stateValue(const SecondarySteerableUnitState& state) {
    return state.value;
}
// The pad's raise flag: 1 while the carrier arrives, else 0.
inline u8 stateValue(const ElevatorPadState& state) {
    return state.value;
}

// The adapter of an element with a state that stands free in the room (doors,
// coins, levers, steered props). First set-up: schedules the node's update,
// applies the hidden byte at once, reports the live value when it differs
// from the starting copy (the state class's default value), then copies the
// state. Main thread only, like every adapter.
template <class E, class S>
class SimpleElement2D : public GenericElement2D<E, S> {
public:
    using GenericElement2D<E, S>::GenericElement2D;

    void setupVisual() override {
        this->node()->scheduleUpdate();
        this->visual()->onVisibilityChanged(this->state_->hidden);
        this->syncValue();
        this->copyState();
    }
};

// A lever's or switch's adapter: a one-tile node (160 x 160 art units), then
// the element set-up.
class Lever2D : public SimpleElement2D<Lever, OnOffIMEState> {
public:
    using SimpleElement2D::SimpleElement2D;

    void setupVisual() override {
        node()->setContentSize(160.0f, 160.0f);
        SimpleElement2D::setupVisual();
    }
};

// The adapter of a steered prop (the drone, the roomba, PART): reports the
// figure's value byte. Its state also carries the prop's motion, which the
// visual samples itself.
using SteerableElement2D = SimpleElement2D<SteerableIME, SecondarySteerableUnitState>;

// The adapter of an element on a grid cell whose state the floor under it
// follows (conveyor and musical note tiles, checkpoints): the element set-up
// of SimpleElement2D; a change of the hidden byte shows or hides the cell's
// floor tiles (TileElement2D).
template <class E, class Rec, class S>
class SimpleTileElement2DOf : public TileElement2D<E, Rec, S> {
public:
    using TileElement2D<E, Rec, S>::TileElement2D;

    void setupVisual() override {
        this->node()->scheduleUpdate();
        this->visual()->onVisibilityChanged(this->state_->hidden);
        this->syncValue();
        this->copyState();
    }
};

// Any whole-tile element with state class S.
template <class S>
using SimpleTileElement2D = SimpleTileElement2DOf<InteractiveMapElement, WholeTileMapElement, S>;

using Checkpoint2D = SimpleTileElement2DOf<Checkpoint, TileNumberedMapElement, OnOffIMEState>;

// The elevator pad's adapter. Reports the raise flag through onStateChanged;
// the copy keeps the carried client ID as well.
class ElevatorPad2D : public TileElement2D<ElevatorPad, ElevatorPadElement, ElevatorPadState> {
public:
    using TileElement2D::TileElement2D;

    // Schedules the node's update, sizes it to one tile, applies the hidden
    // byte, orders the node at rowMiddle of the pad's row (the record's z
    // offset is not added), hides the floor under a shown pad at once and
    // copies the state.
    void setupVisual() override {
        NodeMediator* n = node();
        n->scheduleUpdate();
        n->setContentSize(160.0f, 160.0f);
        visual()->onVisibilityChanged(state_->hidden);
        n->setZOrder(zOrder_->rowMiddle(cell().y));
        if (state_->hidden != 1) hideTilesAtOnce();
        copyState();
    }
};

}  // namespace Zarn
