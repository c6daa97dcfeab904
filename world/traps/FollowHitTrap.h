#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

#include "map/records/TrapElement.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/traps/SpawningTrap.h"

namespace Zarn {

// The state of a follow-hit trap: its phase and where the arm is (map units).
//
// | offset | field       | type  |
// |--------|-------------|-------|
// | 0      | hidden      | u8    |
// | 1      | value       | u8    |
// | 2      | armPosition | Point |
class FollowHitTrapState : public InteractiveMapElementState {
public:
    FollowHitTrapState() = default;
    // Reads the bytes above; throws Convinience::ReadPastEndError when they end early.
    explicit FollowHitTrapState(Convinience::ByteReader& reader)
        : InteractiveMapElementState(reader), value(reader.readU8()), armPosition(reader) {}
    // A state from received bytes (the first `length` bytes at `bytes`).
    static std::unique_ptr<FollowHitTrapState> fromRaw(const u8* bytes, std::size_t length);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return armPosition.serializedSize() + 2; }
    bool operator==(const InteractiveMapElementState& other) const override;
    std::unique_ptr<InteractiveMapElementState> clone() const override {
        return std::make_unique<FollowHitTrapState>(*this);
    }

    // 0 reset, 1 start delay, 2 following, 3 warning (target locked),
    // 4 striking, 5 struck an active delayed trap (stuck).
    u8 value = 0;
    GeometryLib::Point armPosition;
};

// The column of three cells an arm stands on, from its record's position
// upwards: (x, y), (x, y + 1), (x, y + 2) (16-bit cell arithmetic).
std::vector<GeometryLib::Point> armColumn(const GeometryLib::Point& armPosition);

// The boss's arm. While a unit stands in its area it follows the unit
// (restTime), then locks onto the last cell a unit touched and warns
// (warnTime), then strikes that cell (activeTime), and follows again. A strike
// on a cell that holds an active delayed trap of trapTargets hits the trap
// instead: phase 5, onTrapHit, stuck for 3 s. The arm's own column of three
// cells from the record's position is lethal at all times while enabled.
//
// The record (a DelayedTrapElement: startDelay, activeTime, restTime,
// warnTime) is owned by the game map and outlives the trap. Used on the thread
// that owns the world; update takes the tick delta in seconds.
class FollowHitTrap : public Trap {
public:
    static constexpr float kStuckTime = 3.0f;

    FollowHitTrap(const DelayedTrapElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    // enabled := 0, then reset.
    void disable() override;
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    // Copies hidden flag, value and arm position of a FollowHitTrapState;
    // ignores other states.
    void setState(const InteractiveMapElementState& other) override;
    void update(float dt) override;

    // The arm's rest position: the record's position x 64.
    GeometryLib::Point restPosition() const;

    // Owned by the game map.
    const DelayedTrapElement* armRecord;
    FollowHitTrapState state;
    // The locked cell.
    GeometryLib::Point target;
    // The last covered cell a unit touched.
    GeometryLib::Point lastTouched;
    u8 unitSeen = 0;
    u8 enabled = 0;
    float timer = 0.0f;
    // The touching unit's position, truncated.
    GeometryLib::Point unitPosition;
    // Not owned; null unless the boss sets it (its small spawner's delayed traps).
    const DelayedTrapTable* trapTargets = nullptr;
    u8 stuck = 0;
    float stuckTime = 0.0f;
    std::function<void()> onTrapHit;
    // armColumn of the record's position.
    std::unordered_set<GeometryLib::Point, GeometryLib::PointHash> armCells;

private:
    bool hitsTrap();
};

}  // namespace Zarn
