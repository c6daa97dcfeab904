#include "world/triggers/ScriptedAction.h"

#include <cmath>

#include "world/elements/ScriptedSteerableIME.h"
#include "grid/CellGrid.h"
#include "world/steering/PathedSteering.h"
#include "world/steering/SteerableProximity.h"
#include "world/triggers/DialogPlayer.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SteerableUnit.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

void ScriptedPathedMoveAction::execute() {
    if (status_ != ScriptedActionStatus::idle) return;
    arrived_ = std::make_shared<u8>(0);
    auto walk = std::make_unique<PathedSteering>(&unit_, route_, kWaypointRadius);
    walk->onArrival = [arrived = arrived_] { *arrived = 1; };
    if (unit_.inputEnabled) unit_.motion.addSteering(std::move(walk));
    status_ = ScriptedActionStatus::running;
}

void ScriptedPathedMoveAction::update(float) {
    if (isRunning() && *arrived_) status_ = ScriptedActionStatus::finished;
}

void ScriptedPathedMoveAction::reset() {
    ScriptedAction::reset();
    arrived_ = std::make_shared<u8>(0);
}

void ScriptedWaitAction::update(float dt) {
    if (!isRunning()) return;
    elapsed_ += dt;
    if (elapsed_ >= duration_) status_ = ScriptedActionStatus::finished;
}

void ScriptedWaitAction::reset() {
    ScriptedAction::reset();
    elapsed_ = 0.0f;
}

void ScriptedDialogAction::execute() {
    player_.play(number_);
    status_ = ScriptedActionStatus::running;
}

void ScriptedDialogAction::update(float) {
    if (!isRunning()) return;
    if (player_.getCurrent() != number_ || !player_.isPlaying()) status_ = ScriptedActionStatus::finished;
}

namespace {

GeometryLib::Point cellOf(const CellGrid& grid, const SteerableUnit& unit) {
    return grid.toCell(GeometryLib::Point(unit.body().position));
}

}  // namespace

ScriptedWaitForArrival::ScriptedWaitForArrival(ScriptedSteerableIME& figure,
                                               const std::vector<GeometryLib::Point>& cells,
                                               const CellGrid& grid)
    : figure_(figure), targets_(cells.begin(), cells.end()), grid_(grid) {}

void ScriptedWaitForArrival::execute() {
    status_ = ScriptedActionStatus::running;
    figure_.setContactListener(this);
}

void ScriptedWaitForArrival::notify(SteerableUnit& unit) {
    if (!isRunning()) return;
    if (targets_.count(cellOf(grid_, unit)) != 0) status_ = ScriptedActionStatus::finished;
}

ScriptedWaitForContact::ScriptedWaitForContact(ScriptedSteerableIME& figure, const CellGrid& grid,
                                               std::unique_ptr<SteerableProximity> contacts,
                                               const SteerableUnitManager& units)
    : figure_(figure), grid_(grid), contacts_(std::move(contacts)), units_(units) {}

ScriptedWaitForContact::~ScriptedWaitForContact() = default;

void ScriptedWaitForContact::execute() {
    status_ = ScriptedActionStatus::running;
    figure_.setContactListener(this);
    contacts_->prune();
}

void ScriptedWaitForContact::notify(SteerableUnit& unit) {
    if (isRunning()) contacts_->setUnitCell(&unit, cellOf(grid_, unit));
}

void ScriptedWaitForContact::update(float) {
    if (!isRunning()) return;
    if (contacts_->hasUnits()) {
        const SecondarySteerableUnit& self = *figure_.steerable;
        const float reach = self.radius + kReach;
        const SteerableProximity::Entries recorded = contacts_->entries();
        for (const auto& [unit, cell] : recorded) {
            // A unit removed from the game since it was recorded is not read.
            if (!units_.isLiveUnit(unit)) continue;
            const GeometryLib::FPoint offset = unit->body().position - self.position();
            if (std::sqrt(offset.x * offset.x + offset.y * offset.y) <= reach) {
                status_ = ScriptedActionStatus::finished;
                break;
            }
        }
    }
    contacts_->prune();
}

void ScriptedSetSecondarySteerableGenericStateAction::update(float) {
    if (!isRunning()) return;
    SecondarySteerableUnitState state = figure_.state;
    state.value = value_;
    figure_.setState(state);
    status_ = ScriptedActionStatus::finished;
}

}  // namespace Zarn
