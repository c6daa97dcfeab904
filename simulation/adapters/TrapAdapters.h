#pragma once

#include "simulation/adapters/SimpleTrap2D.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/RatTrap.h"

namespace Zarn {

class CellGrid;

inline u8 stateValue(const FollowHitTrapState& state) {
    return state.value;
}

// Draws a player in front of or behind a rat trap's boards while the player
// stands on one of the trap's two cells (its own cell and the one to its
// right), by the phase the trap shows. The trap's state and the grid belong to
// the world and outlive the modifier.
class RatTrapPlayerZOrderMod : public PlayerZOrderModifier {
public:
    // base: the z order below the trap's boards (its key among the cell's
    // modifiers as well).
    RatTrapPlayerZOrderMod(const RatTrapIMEState* trapState, GeometryLib::Point trapCell,
                           const CellGrid* grid, i32 base);

    // On the trap's cell: phases 1, 3, 5 -> base + 3; 2, 4, 6, 7, 8 -> base + 1.
    // On the right cell: 1, 3, 5, 7, 8 -> base + 1; 2, 4, 6 -> base + 3.
    // Anything else, and any other cell: z unchanged.
    int apply(const GeometryLib::FPoint& playerPosition, int z) override;

    i32 base() const { return key(); }
    // The z passed in with the last call; 0 before the first.
    i32 lastZ = 0;

private:
    const RatTrapIMEState* trapState_;
    const CellGrid* grid_;
    GeometryLib::Point trapCell_;
    GeometryLib::Point rightCell_;
};

// The rat trap's adapter: two flip pictures that the engine side makes, a
// drawing order for the flip that plays, and the players' z-order modifier.
// The trap's own visual only shows and hides; phase changes go to the flips.
class RatTrap2D : public SimpleTrap2D<RatTrap, RatTrapElement, RatTrapIMEState> {
public:
    RatTrap2D(RatTrap* trap, Sprite2DMediator* mediator, TileVisualGroups* tileVisuals,
              const ZOrderCalculator* zOrder, const CellGrid* grid);

    // The trap's set-up, then: node 320 x 350, the left and right flips made,
    // added as children, both at z 0.
    void setupVisual() override;
    // New value 0: both flips back to z 0. 1: the left flip to flipZ and told
    // (old, 1). 2: the right flip likewise with (old, 2). Others: nothing.
    void syncValue() override;
    // The floor of both cells, the trap's first.
    void syncTileVisibility() override;

    // The flips' pictures: new autoreleased sprites with no parent yet.
    virtual Sprite2DMediator* createLeftFlip() = 0;
    virtual Sprite2DMediator* createRightFlip() = 0;

    RatTrapPlayerZOrderMod& playerZOrderMod() { return playerZOrderMod_; }
    // highRowTop of the row + the record's z offset.
    i32 flipZ() const { return flipZ_; }
    Sprite2DMediator* leftFlip() const { return leftFlip_; }
    Sprite2DMediator* rightFlip() const { return rightFlip_; }

private:
    i32 flipZ_;
    // Children of the trap's node, owned by the node tree; null until set-up.
    Sprite2DMediator* leftFlip_ = nullptr;
    Sprite2DMediator* rightFlip_ = nullptr;
    RatTrapPlayerZOrderMod playerZOrderMod_;
};

// The vortex's adapter: two spinning pictures over the trap door.
class VortexTrap2D : public IntervalTrap2D {
public:
    using IntervalTrap2D::IntervalTrap2D;

    // The trap's set-up, then the small and the large vortex made, added as
    // children at (80, 80), opacity 0, z highRowMiddle + offset; the node at
    // rowBase + offset.
    void setupVisual() override;
    // A changed value goes to the trap's visual, then the small and the large
    // vortex, each as (old, new).
    void syncValue() override;

    virtual Sprite2DMediator* createSmallVortex() = 0;
    virtual Sprite2DMediator* createLargeVortex() = 0;

    Sprite2DMediator* smallVortex() const { return small_; }
    Sprite2DMediator* largeVortex() const { return large_; }

private:
    // Children of the trap's node; null until set-up.
    Sprite2DMediator* small_ = nullptr;
    Sprite2DMediator* large_ = nullptr;
};

// The boss arm's adapter. Keeps the point the arm aims at: the trap's arm
// position (map units) as it was in the last frame of the following phase 2.
class FollowHitTrap2D : public GenericElement2D<FollowHitTrap, FollowHitTrapState> {
public:
    static constexpr int kArmZOrder = 2000000;

    using GenericElement2D::GenericElement2D;

    // Schedules the node's update, applies the hidden byte, orders the node
    // at kArmZOrder and copies the state.
    void setupVisual() override;
    // Takes the live target while the live phase is 2, then the generic sync.
    void syncVisual() override;

    const GeometryLib::Point& target() const { return target_; }

private:
    GeometryLib::Point target_;
};

}  // namespace Zarn
