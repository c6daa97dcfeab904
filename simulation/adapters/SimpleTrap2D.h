#pragma once

#include "map/records/BossElement.h"
#include "map/records/ScheduledTrapElement.h"
#include "simulation/adapters/Element2D.h"
#include "world/traps/Boss.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/ScheduledTrap.h"

namespace Zarn {

// The adapter of a trap that fills one tile (160 x 160 art units): spikes,
// trap doors, the sign, bombs, the cannon and the boss.
template <class E, class Rec, class S>
class SimpleTrap2D : public TileElement2D<E, Rec, S> {
public:
    using TileElement2D<E, Rec, S>::TileElement2D;

    // Schedules the node's update, sizes it to one tile, applies the hidden
    // byte at once, orders the node (rowBase of the cell's row when layered,
    // else highRowBase, plus the record's z offset), hides the floor under a
    // shown trap, orders a second node at highRowBase + offset when layered,
    // and copies the state.
    void setupVisual() override {
        NodeMediator* node = this->node();
        node->scheduleUpdate();
        node->setContentSize(160.0f, 160.0f);
        this->visual()->onVisibilityChanged(this->state_->hidden);
        node->setZOrder(mainZOrder());
        if (this->state_->hidden != 1) this->hideTilesAtOnce();
        if (secondaryNode != nullptr && layered) secondaryNode->setZOrder(raisedZOrder());
        this->copyState();
    }

    // The node's order for the current band.
    int mainZOrder() const { return layered ? baseZOrder() : raisedZOrder(); }
    int baseZOrder() const { return this->zOrder_->rowBase(this->cell().y) + this->zOffset(); }
    int raisedZOrder() const { return this->zOrder_->highRowBase(this->cell().y) + this->zOffset(); }

    // A second node of the picture (already a child of the main node), or
    // null; not owned.
    NodeMediator* secondaryNode = nullptr;
    // Set: the main node takes the row's base band; clear: the raised band.
    bool layered = true;
};

using IntervalTrap2D = SimpleTrap2D<BaseIntervalTrap, IntervalTrapElement, IntervalTrapIMEState>;
using ScheduledTrap2D = SimpleTrap2D<ScheduledTrap, ScheduledTrapElement, IntervalTrapIMEState>;
// Reports the boss's visible state through onStateChanged.
using Boss2D = SimpleTrap2D<Boss, BossElement, BossState>;

}  // namespace Zarn
