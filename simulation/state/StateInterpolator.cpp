#include "simulation/state/StateInterpolator.h"

#include <set>

#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SteerableIME.h"
#include "world/traps/TrapDirectory.h"
#include "world/triggers/DialogPlayer.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

namespace {

void setStatuses(SteerableUnit& unit, const ClientState& c) {
    unit.statuses.assign(std::multiset<u32>(c.statusValues.begin(), c.statusValues.end()));
    unit.state = c.mainState;
}

}  // namespace

void StateInterpolator::start(const GameState& from, const GameState& to) {
    from_ = &from;
    to_ = &to;
    elapsed = 0.0f;
    duration = static_cast<float>(static_cast<i32>(to.tick - from.tick)) * secondsPerTick;
    for (const ClientState& c : from.clientStates) {
        const ClientState* target = to.findClient(c.clientID);
        SteerableUnit* unit = units_->findUnit(c.clientID);
        if (!target || !unit) continue;
        SteerableKinematics& body = unit->body();
        body.position = c.position;
        body.setSteeringVelocity(c.steering);
        // Equal ticks leave no time to travel: the unit stands until the segment's end.
        body.velocity = duration > 0.0f ? SteerableKinematics::truncate(
                                              (target->position - c.position) / duration, body.maxSpeed)
                                        : GeometryLib::FPoint();
        setStatuses(*unit, c);
    }
    applyMap(from.mapState, false, 0.0f);
    applyDialog(from.mapState);
}

void StateInterpolator::step(float dt) {
    if (!to_ || finished()) return;
    float step = dt;
    bool last = false;
    if (elapsed + dt >= duration) {
        step = duration - elapsed;
        last = true;
    }
    units_->forEachUnit(
        [&](u32, SteerableUnit& unit) { unit.body().position += unit.body().velocity * step; });
    applyMap(to_->mapState, true, step);
    applyDialog(to_->mapState);
    elapsed = last ? duration : elapsed + step;
    if (last) arrive();
}

void StateInterpolator::arrive() {
    for (const ClientState& c : to_->clientStates) {
        SteerableUnit* unit = units_->findUnit(c.clientID);
        if (!unit) continue;
        SteerableKinematics& body = unit->body();
        body.position = c.position;
        body.velocity = SteerableKinematics::truncate(c.velocity, body.maxSpeed);
        body.setSteeringVelocity(c.steering);
        setStatuses(*unit, c);
    }
    applyMap(to_->mapState, false, 0.0f);
    applyDialog(to_->mapState);
}

void StateInterpolator::applyMap(const MapState& state, bool moveSteerables, float step) {
    if (traps_) {
        for (const auto& [number, trapState] : state.trapStates) {
            if (Trap* trap = traps_->findTrap(number)) trap->setState(*trapState);
        }
    }
    if (numbered_) {
        for (const auto& [number, elementState] : state.elementStates) {
            InteractiveMapElement& element = numbered_->get(number);
            auto* steerable = moveSteerables ? dynamic_cast<SteerableIME*>(&element) : nullptr;
            if (steerable && steerable->steerable) {
                SteerableUnit& unit = steerable->steerable->unit;
                unit.body().position += unit.body().velocity * step;
            } else {
                element.setState(*elementState);
            }
        }
    }
}

void StateInterpolator::applyDialog(const MapState& state) {
    if (!dialogs_) return;
    if (state.dialogPlaying == dialogs_->isPlaying() && state.dialogNumber == dialogs_->getCurrent()) return;
    if (state.dialogPlaying != 0) {
        dialogs_->play(state.dialogNumber);
    } else {
        dialogs_->stop();
    }
}

}  // namespace Zarn
