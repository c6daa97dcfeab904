#pragma once

#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class CellGrid;
class ElevatorPadElement;
class SteerableUnitManager;

// The state of an elevator pad: value 1 during the raise phase, 0 otherwise;
// payload the client ID of the last unit the pad's effect took over.
//
// | offset | field   | type |
// |--------|---------|------|
// | 0      | hidden  | u8   |
// | 1      | value   | u8   |
// | 2      | payload | u32  |
class ElevatorPadState : public InteractiveMapElementState {
public:
    ElevatorPadState() = default;
    explicit ElevatorPadState(Convinience::ByteReader& reader)
        : InteractiveMapElementState(reader), value(reader.readU8()), payload(reader.readU32()) {}
    // Throws Convinience::ReadPastEndError when the bytes are too short.
    static std::unique_ptr<ElevatorPadState> fromRaw(const u8* bytes, std::size_t length);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 6; }
    bool operator==(const InteractiveMapElementState& other) const override;
    std::unique_ptr<InteractiveMapElementState> clone() const override {
        return std::make_unique<ElevatorPadState>(*this);
    }

    u8 value = 0;
    u32 payload = 0;
};

// A one-cell lift. The first unit that steps onto an enabled, idle pad
// triggers it; the pad then runs a cycle of a one-second raise phase (value 1)
// and a pause, and re-arms itself once its timer passes 2 s. The effect takes
// the unit over. The record belongs to the game map and outlives the pad.
class ElevatorPad : public UpdatableInteractiveMapElement {
public:
    static constexpr float kRaiseTime = 1.0f;
    static constexpr float kCycleTime = 2.0f;

    ElevatorPad(const ElevatorPadElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    // Keeps the cycle where it is; enable resumes it.
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // An enabled, idle pad is triggered by any touch (a carried unit's
    // excepted) and answers whether the cell is its own.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // timer 0, idle, enabled as the record's startValue; the state is kept.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override;
    void update(float dt) override;

    float timer = 0.0f;
    // The same record as `record`, typed.
    const ElevatorPadElement* padRecord;
    ElevatorPadState state;
    u8 enabled;
    // 1 from the triggering contact until the cycle ends.
    u8 triggered = 0;
};

// Takes a unit over: stops it, marks it carried (state word 17 while it was
// 0) and walks it to the centre of the pad's cell. A unit already carried is
// left alone (applied 0). Result kind 11 with the pad's number. Throws
// Convinience::Error "no such unit pointer" for a unit the manager does not
// know. The record, the grid and the manager belong to the world and outlive
// the effect; padState is the pad's (the effect's owner), set by the builder.
class ElevatorPadEffect : public Effect {
public:
    static constexpr float kSlowRadius = 4.0f;

    ElevatorPadEffect(const ElevatorPadElement& record, const SteerableUnitManager& units,
                      const CellGrid& grid)
        : record(&record), grid(&grid), units(&units) {}

    std::unique_ptr<EffectResult> apply(SteerableUnit* unit) override;

    // The centre of the pad's cell in map units.
    GeometryLib::FPoint target() const;

    const ElevatorPadElement* record;
    ElevatorPadState* padState = nullptr;
    const CellGrid* grid;
    const SteerableUnitManager* units;
};

}  // namespace Zarn
