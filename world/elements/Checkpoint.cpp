#include "world/elements/Checkpoint.h"

#include "foundation/Error.h"
#include "map/records/MapElement.h"
#include "world/elements/SpawnPoints.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

Checkpoint::Checkpoint(const TileNumberedMapElement& record, std::unique_ptr<Effect> effect)
    : InteractiveMapElement(record, std::move(effect)), state(EOnOffState::on), checkpointRecord(&record) {}

bool Checkpoint::touches(const GeometryLib::Point& at, SteerableUnit*) {
    return enabled != 0 && at == checkpointRecord->cell;
}

void Checkpoint::reset() {
    throw Convinience::Error("checkpoint cannot yet be reset");
}

void Checkpoint::setState(const InteractiveMapElementState& s) {
    copyState(state, s);
}

u32 Checkpoint::number() const {
    return checkpointRecord->number;
}

const GeometryLib::Point& Checkpoint::cell() const {
    return checkpointRecord->cell;
}

std::unique_ptr<EffectResult> CheckpointEffect::apply(SteerableUnit* unit) {
    const u32 h = unit ? unit->handle() : 0;
    if (!checkpoint) return makeUnappliedCheckpointEffectResult(h, 0, 0);
    InteractiveMapElement* previous = spawnPoints->findCheckpoint(h);
    const u32 number = checkpoint->number();
    bool newly = false;
    if (spawnPoints->hasReachedEntry(h) && !spawnPoints->isReached(h)) {
        spawnPoints->markReached(h);
        newly = true;
    }
    if (previous == checkpoint) {
        if (newly) return makeCheckpointEffectResult(h, number, 1);
        return makeUnappliedCheckpointEffectResult(h, number, 0);
    }
    if (auto* before = dynamic_cast<Checkpoint*>(previous)) before->state.value = EOnOffState::on;
    spawnPoints->setCheckpoint(h, checkpoint);
    checkpoint->state.value = EOnOffState::off;
    return makeCheckpointEffectResult(h, number, newly ? 1 : 0);
}

}  // namespace Zarn
