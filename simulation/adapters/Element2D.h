#pragma once

#include <unordered_map>
#include <vector>

#include "foundation/Error.h"
#include "foundation/Geometry.h"
#include "map/records/MapElement.h"
#include "map/records/TrapElement.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "world/adapters/NodeMediator.h"
#include "world/adapters/VisualNodeMediator.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

// The world side of an element's picture: a small adapter that watches one
// element (or trap) and tells the picture what changed, so that a visual never
// reads the world. The engine-side visual owns its adapter, calls
// `setupVisual` once after construction and `syncVisual` once per frame from
// its own update; both run on the main thread, after the client has applied
// the tick's states.
//
// Names used here and their other spellings:
// | here                | also called                  |
// |---------------------|------------------------------|
// | setupVisual         | setup (first placement)      |
// | syncVisual          | update (per-frame comparison) |
// | onVisibilityChanged | setVisibilityFlag, applyHidden |
// | onStateChanged      | stateChanged                  |
// | rowBase             | rowOrder, rowZ                |
// | rowMiddle           | rowOrderMiddle, rowZAbove     |
// | rowTop              | rowOrderFront, rowZFront      |
// | highRowBase         | raisedRowOrder, topZ          |
// | highRowMiddle       | raisedRowOrderMiddle, topZAbove |
// | highRowTop          | raisedRowOrderFront, topZFront |
// | yBase               | orderAtY                      |
// | highY               | raisedOrderMiddleAtY          |
// | highYTop            | raisedOrderFrontAtY           |
// | createLeftFlip ...  | makeLeftFlip, makePartA ...   |

// A sprite's node handle and its visual reactions in one object.
using Sprite2DMediator = VariadicNodeMediator<SpriteNodeMediator, VisualNodeMediator>;

// The in-game scene's floor-tile visuals by grid cell: the adapters hide and
// show the floor under the traps and pads that cover it. Filled while the
// scene places its tile elements; the visuals are owned by their nodes.
using TileVisualGroups =
    std::unordered_map<GeometryLib::Point, std::vector<VisualNodeMediator*>, GeometryLib::PointHash>;

// The one-byte value an adapter reports through onStateChanged: the enum
// value of a GenericIMEState, the boss's visible state; 0 for a state that
// has none.
inline u8 stateValue(const InteractiveMapElementState&) {
    return 0;
}
template <class E, int D, int Z>
u8 stateValue(const GenericIMEState<E, D, Z>& state) {
    return static_cast<u8>(state.value);
}
inline u8 stateValue(const BossState& state) {
    return state.state;
}

// The cell a record stands on and the z offset its visuals add to every
// drawing order (the header's second word, read as signed).
inline GeometryLib::Point recordCell(const TrapElement& record) {
    return record.position;
}
inline GeometryLib::Point recordCell(const WholeTileMapElement& record) {
    return record.cell;
}
inline i32 recordZOffset(const MapElement& record) {
    return static_cast<i32>(record.extra);
}

// Watches element E whose state has class S. The element, its state and the
// visual outlive the adapter (the element belongs to the world, the visual
// owns the adapter).
template <class E, class S>
class GenericElement2D {
public:
    // Throws Convinience::Error("element state of wrong class") when the
    // element's state is not an S.
    GenericElement2D(E* element, Sprite2DMediator* mediator)
        : mediator_(mediator), element_(element), state_(dynamic_cast<S*>(&element->getState())) {
        if (state_ == nullptr) throw Convinience::Error("element state of wrong class");
    }
    virtual ~GenericElement2D() = default;
    GenericElement2D(const GenericElement2D&) = delete;
    GenericElement2D& operator=(const GenericElement2D&) = delete;

    // First placement of the visual; copies the live state, so that the first
    // syncVisual reports only later changes.
    virtual void setupVisual() = 0;
    // When the live state differs from the copy: syncHidden, then syncValue,
    // both against the old copy; then the copy takes the live state.
    virtual void syncVisual() {
        if (*state_ == cache_) return;
        syncHidden();
        syncValue();
        copyState();
    }
    // A changed hidden byte: onShowHide(old, new).
    virtual void syncHidden() {
        if (state_->hidden != cache_.hidden) visual()->onShowHide(cache_.hidden, state_->hidden);
    }
    // A changed value: onStateChanged(old, new).
    virtual void syncValue() {
        const u8 now = stateValue(*state_);
        const u8 before = stateValue(cache_);
        if (now != before) visual()->onStateChanged(before, now);
    }

    E* element() const { return element_; }
    const S& liveState() const { return *state_; }
    const S& cachedState() const { return cache_; }
    Sprite2DMediator* mediator() const { return mediator_; }

protected:
    VisualNodeMediator* visual() const { return mediator_; }
    NodeMediator* node() const { return mediator_; }
    void copyState() { cache_ = *state_; }

    // Not owned: the visual that owns this adapter.
    Sprite2DMediator* mediator_;
    E* element_;
    // The element's own state object; valid for the element's lifetime.
    S* state_;
    // The state last reported to the visual.
    S cache_;
};

// An element standing on a grid cell whose floor tiles have visuals of their
// own: hiding and showing the element shows and hides the floor. The record,
// the tile table and the calculator belong to the scene and outlive the
// adapter.
template <class E, class Rec, class S>
class TileElement2D : public GenericElement2D<E, S> {
public:
    // Throws Convinience::Error("element record of wrong class") when the
    // element's record is not a Rec.
    TileElement2D(E* element, Sprite2DMediator* mediator, TileVisualGroups* tileVisuals,
                  const ZOrderCalculator* zOrder)
        : GenericElement2D<E, S>(element, mediator),
          record_(dynamic_cast<const Rec*>(element->record)),
          tileVisuals_(tileVisuals),
          zOrder_(zOrder) {
        if (record_ == nullptr) throw Convinience::Error("element record of wrong class");
    }

    // Hidden bytes differ: onShowHide(old, new) to the visual, then the floor.
    void syncHidden() override {
        if (this->state_->hidden == this->cache_.hidden) return;
        this->visual()->onShowHide(this->cache_.hidden, this->state_->hidden);
        syncTileVisibility();
    }
    // Every tile visual of the cell: onShowHide(new element byte, old byte),
    // so that the floor shows when the element hides and hides when it shows.
    virtual void syncTileVisibility() {
        forTiles(cell(),
                 [this](VisualNodeMediator* v) { v->onShowHide(this->state_->hidden, this->cache_.hidden); });
    }
    virtual void hideTilesAtOnce() {
        forTiles(cell(), [](VisualNodeMediator* v) { v->onVisibilityChanged(1); });
    }
    virtual void showTilesAtOnce() {
        forTiles(cell(), [](VisualNodeMediator* v) { v->onVisibilityChanged(0); });
    }
    virtual void hideTiles() {
        forTiles(cell(), [this](VisualNodeMediator* v) { v->onShowHide(this->state_->hidden, 1); });
    }
    virtual void showTiles() {
        forTiles(cell(), [this](VisualNodeMediator* v) { v->onShowHide(this->state_->hidden, 0); });
    }

    const Rec& record() const { return *record_; }
    GeometryLib::Point cell() const { return recordCell(*record_); }
    i32 zOffset() const { return recordZOffset(*record_); }

    // Clear: the tile operations above do nothing.
    bool coversTiles = true;

protected:
    // Calls fn for each tile visual of the cell, in list order; a cell with no
    // entry has no tiles.
    template <class Fn>
    void forTiles(const GeometryLib::Point& at, Fn fn) {
        if (!coversTiles || tileVisuals_ == nullptr) return;
        const auto it = tileVisuals_->find(at);
        if (it == tileVisuals_->end()) return;
        for (VisualNodeMediator* v : it->second) fn(v);
    }

    const Rec* record_;
    TileVisualGroups* tileVisuals_;
    const ZOrderCalculator* zOrder_;
};

}  // namespace Zarn
