#include "simulation/adapters/TrapAdapters.h"

#include "grid/CellGrid.h"

namespace Zarn {

using GeometryLib::Point;

RatTrapPlayerZOrderMod::RatTrapPlayerZOrderMod(const RatTrapIMEState* trapState, Point trapCell,
                                               const CellGrid* grid, i32 base)
    : PlayerZOrderModifier(base),
      trapState_(trapState),
      grid_(grid),
      trapCell_(trapCell),
      rightCell_(trapCell + Point(1, 0)) {
    cells = {trapCell_, rightCell_};
}

int RatTrapPlayerZOrderMod::apply(const GeometryLib::FPoint& playerPosition, int z) {
    lastZ = z;
    const Point cell = grid_->toCell(Point(playerPosition));
    const u8 v = static_cast<u8>(trapState_->value);
    if (cell == trapCell_) {
        if (v == 1 || v == 3 || v == 5) return base() + 3;
        if (v == 2 || v == 4 || v == 6 || v == 7 || v == 8) return base() + 1;
        return z;
    }
    if (cell == rightCell_) {
        if (v == 1 || v == 3 || v == 5 || v == 7 || v == 8) return base() + 1;
        if (v == 2 || v == 4 || v == 6) return base() + 3;
        return z;
    }
    return z;
}

namespace {

i32 flipOrder(const ZOrderCalculator* zOrder, const RatTrap* trap) {
    return zOrder->highRowTop(trap->ratRecord->position.y) + recordZOffset(*trap->ratRecord);
}

}  // namespace

RatTrap2D::RatTrap2D(RatTrap* trap, Sprite2DMediator* mediator, TileVisualGroups* tileVisuals,
                     const ZOrderCalculator* zOrder, const CellGrid* grid)
    : SimpleTrap2D(trap, mediator, tileVisuals, zOrder),
      flipZ_(flipOrder(zOrder, trap)),
      playerZOrderMod_(&trap->state, trap->ratRecord->position, grid, flipZ_ - 100) {}

void RatTrap2D::setupVisual() {
    SimpleTrap2D::setupVisual();
    node()->setContentSize(320.0f, 350.0f);
    leftFlip_ = createLeftFlip();
    rightFlip_ = createRightFlip();
    node()->addChild(leftFlip_);
    node()->addChild(rightFlip_);
    leftFlip_->setZOrder(0);
    rightFlip_->setZOrder(0);
}

void RatTrap2D::syncValue() {
    const u8 now = stateValue(*state_);
    const u8 before = stateValue(cache_);
    if (now == before || leftFlip_ == nullptr) return;
    if (now == 0) {
        leftFlip_->setZOrder(0);
        rightFlip_->setZOrder(0);
    } else if (now == 1) {
        leftFlip_->setZOrder(flipZ_);
        leftFlip_->onStateChanged(before, 1);
    } else if (now == 2) {
        rightFlip_->setZOrder(flipZ_);
        rightFlip_->onStateChanged(before, 2);
    }
}

void RatTrap2D::syncTileVisibility() {
    const auto forward = [this](VisualNodeMediator* v) { v->onShowHide(state_->hidden, cache_.hidden); };
    forTiles(cell(), forward);
    forTiles(cell() + Point(1, 0), forward);
}

void VortexTrap2D::setupVisual() {
    IntervalTrap2D::setupVisual();
    const int partZ = zOrder_->highRowMiddle(cell().y) + zOffset();
    small_ = createSmallVortex();
    large_ = createLargeVortex();
    node()->addChild(small_);
    node()->addChild(large_);
    for (Sprite2DMediator* part : {small_, large_}) {
        part->setPosition(80.0f, 80.0f);
        part->setOpacity(0);
        part->setZOrder(partZ);
    }
    layered = true;
    node()->setZOrder(baseZOrder());
}

void VortexTrap2D::syncValue() {
    const u8 now = stateValue(*state_);
    const u8 before = stateValue(cache_);
    if (now == before) return;
    visual()->onStateChanged(before, now);
    if (small_ != nullptr) small_->onStateChanged(before, now);
    if (large_ != nullptr) large_->onStateChanged(before, now);
}

void FollowHitTrap2D::setupVisual() {
    node()->scheduleUpdate();
    visual()->onVisibilityChanged(state_->hidden);
    node()->setZOrder(kArmZOrder);
    target_ = state_->armPosition;
    copyState();
}

void FollowHitTrap2D::syncVisual() {
    if (state_->value == 2) target_ = state_->armPosition;
    GenericElement2D::syncVisual();
}

}  // namespace Zarn
