#pragma once

#include "world/elements/InteractiveMapElement.h"
#include "world/units/ContactCooldown.h"

namespace Zarn {

class SecondarySteerableUnit;

// The state of a steered prop: a value and a number set by scripted actions,
// and the prop's motion mirrored for snapshots and visuals. Points compare
// with a tolerance: equal when each coordinate differs by less than 0.2.
//
// | offset | field            | type      |
// |--------|------------------|-----------|
// | 0      | hidden           | u8        |
// | 1      | value            | u8        |
// | 2      | number           | u32       |
// | 6      | position         | f32, f32  |
// | 14     | velocity         | f32, f32  |
// | 22     | steeringVelocity | f32, f32  |
class SecondarySteerableUnitState : public InteractiveMapElementState {
public:
    static constexpr float kPointTolerance = 0.2f;

    SecondarySteerableUnitState() = default;
    explicit SecondarySteerableUnitState(Convinience::ByteReader& reader);
    // Throws Convinience::ReadPastEndError when the bytes are too short.
    static std::unique_ptr<SecondarySteerableUnitState> fromRaw(const u8* bytes, std::size_t length);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 30; }
    bool operator==(const InteractiveMapElementState& other) const override;
    std::unique_ptr<InteractiveMapElementState> clone() const override {
        return std::make_unique<SecondarySteerableUnitState>(*this);
    }

    u8 value = 0;
    u32 number = 0;
    GeometryLib::FPoint position;
    GeometryLib::FPoint velocity;
    GeometryLib::FPoint steeringVelocity;
};

// A prop that moves by itself (drone, cart): wraps a secondary steerable unit,
// mirrors its motion into the element state and reports a living player who
// comes within 2 map units of its rim, at most once a second per player. The
// record belongs to the game map and the unit to the world's secondary unit
// list; both outlive the element.
class SteerableIME : public UpdatableInteractiveMapElement {
public:
    static constexpr float kContactMargin = 2.0f;
    static constexpr float kContactCooldown = 1.0f;

    // With a NullEffect.
    SteerableIME(const MapElement& record, SecondarySteerableUnit& steerable);
    SteerableIME(const MapElement& record, SecondarySteerableUnit& steerable, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // The cell is not looked at.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // Forgets every contact and restarts the clock.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    // Also moves the prop's body to the state's position and motion.
    void setState(const InteractiveMapElementState& s) override;
    // Mirrors the body into the state and advances the contact clock.
    void update(float dt) override;

    // The same record as `record`.
    const MapElement* steerableRecord;
    SecondarySteerableUnit* steerable;
    u8 enabled = 1;
    SecondarySteerableUnitState state;
    ContactCooldown contacts{kContactCooldown};
    u32 touchCount = 0;
};

}  // namespace Zarn
