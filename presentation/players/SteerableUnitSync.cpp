#include "presentation/players/SteerableUnitSync.h"

#include "simulation/scene/SteerableVisualSync.h"
#include "simulation/scene/ZOrderCalculator.h"

void SteerableUnitSync::update() {
    const Zarn::SteerableUnit* unit = unit_.get();
    if (unit == nullptr) return;
    position_ = unit->body().position;
    secondPoint_ = unit->body().velocity;
    rotation_ = -Zarn::headingToRotation(unit->body().heading);
    drawingOrder_ = zOrder_->playerZOrder(position_);
}
