#include "simulation/scene/SteerableVisualSync.h"

#include "simulation/scene/PlayerAnimController.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "world/adapters/NodeMediator.h"

namespace Zarn {

float headingToRotation(float heading) {
    return 180.0f - heading * 180.0f / 3.14159f;
}

SteerableVisualSync::SteerableVisualSync(NodeMediator* node, SteerableUnit* unit,
                                         PlayerAnimController* controller, const ZOrderCalculator* zOrder)
    : node_(node), unit_(unit), controller_(controller), zOrder_(zOrder) {}

void SteerableVisualSync::updateMoveAnimation() {
    const SteerableUnit* unit = unit_.get();
    if (unit == nullptr || controller_->isInStateAnimation()) return;
    const float speed = SteerableKinematics::length(unit->body().velocity);
    if (speed > kRunSpeed) {
        if (controller_->isRunning()) return;
        if (controller_->isIdle()) controller_->stopIdle();
        controller_->startRunning();
        return;
    }
    if (controller_->isRunning()) controller_->stopRunning();
    if (!controller_->isIdle()) controller_->startIdle();
}

void SteerableVisualSync::updateStateAnimation() {
    const SteerableUnit* unit = unit_.get();
    if (unit == nullptr) return;
    const i32 state = static_cast<i32>(unit->state);
    if (state == 0) {
        if (shownState_ != 0) {
            shownState_ = 0;
            controller_->reset();
        }
        return;
    }
    if (state == shownState_) return;
    if (controller_->isRunning()) controller_->stopRunning();
    if (controller_->isIdle()) controller_->stopIdle();
    controller_->playStateAnimation(shownState_, state);
    shownState_ = state;
}

void SteerableVisualSync::updateEffects() {
    const SteerableUnit* unit = unit_.get();
    if (unit == nullptr) return;
    std::set<i32> now;
    for (u32 value : unit->statuses.values()) now.insert(static_cast<i32>(value));
    for (i32 id : now)
        if (shownEffects_.count(id) == 0) controller_->changeEffect(0, id);
    for (i32 id : shownEffects_)
        if (now.count(id) == 0) controller_->changeEffect(id, 0);
    shownEffects_ = std::move(now);
}

void SteerableVisualSync::updateTransform() {
    const SteerableUnit* unit = unit_.get();
    if (frozen != 0 || unit == nullptr) return;
    const GeometryLib::FPoint p = unit->body().position;
    if (!controller_->isInStateAnimation()) {
        controller_->setZOrder(zOrder_->playerZOrder(p));
        const float r = headingToRotation(unit->body().heading);
        if (rotate != 0) {
            if (!unit->statuses.containsTen()) node_->setRotation(r);
        } else {
            node_->setFlippedX(r > 180.0f);
        }
    }
    node_->setPosition(p.x, p.y);
}

}  // namespace Zarn
