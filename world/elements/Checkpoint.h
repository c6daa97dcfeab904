#pragma once

#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class SpawnPoints;
class TileNumberedMapElement;

// A tile that records itself as the respawn cell of the unit that touches it
// (through its effect). Value 1: not the current checkpoint of a unit; 0: the
// checkpoint a unit recorded last. The record belongs to the game map and
// outlives the checkpoint.
class Checkpoint : public InteractiveMapElement {
public:
    Checkpoint(const TileNumberedMapElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // Enabled and on the record's cell.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // Throws Convinience::Error "checkpoint cannot yet be reset": callers that
    // reset elements must leave checkpoints out.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override;

    u32 number() const;
    const GeometryLib::Point& cell() const;

    OnOffIMEState state;
    // The same record as `record`, typed.
    const TileNumberedMapElement* checkpointRecord;
    u8 enabled = 1;
};

// Records the checkpoint as the unit's respawn point. Result kind 2 with the
// checkpoint's number; newlyReached is 1 for the unit's first checkpoint
// contact after a kill. The spawn points belong to the world and outlive the
// effect; `checkpoint` is the effect's owner, set by the builder.
class CheckpointEffect : public Effect {
public:
    explicit CheckpointEffect(SpawnPoints& spawnPoints) : spawnPoints(&spawnPoints) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    SpawnPoints* spawnPoints;
    Checkpoint* checkpoint = nullptr;
};

}  // namespace Zarn
