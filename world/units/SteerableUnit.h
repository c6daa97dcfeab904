#pragma once

#include <array>
#include <memory>

#include "foundation/Geometry.h"
#include "world/effects/SteerableUnitMotion.h"
#include "world/steering/SteerableKinematics.h"
#include "world/units/StatusSet.h"

namespace Zarn {

// Values of a unit's state word.
namespace UnitState {
inline constexpr u32 alive = 0;
// Carried by an elevator pad: the unit has left the level and takes no move input.
inline constexpr u32 carried = 17;
}  // namespace UnitState

// Death states: 3 to 8 and 22.
inline bool isDeathState(u32 state) {
    return (state >= 3 && state <= 8) || state == 22;
}

// Unit handles of player units are their client IDs; secondary units (props)
// take handles from this value up, so the two never meet.
inline constexpr u32 kFirstSecondaryUnitHandle = 0x80000000u;

// A moving thing of the world: a player's lab rat (owned by the
// SteerableUnitManager) or the unit inside a secondary steerable unit. Owns
// its body and its motion; used by the thread that owns the world.
class SteerableUnit {
public:
    // handle: the u32 that names the unit in effect results and per-unit tables;
    // unique among living units of a world.
    explicit SteerableUnit(u32 handle);
    virtual ~SteerableUnit();
    SteerableUnit(const SteerableUnit&) = delete;
    SteerableUnit& operator=(const SteerableUnit&) = delete;

    u32 handle() const { return handle_; }
    SteerableKinematics& body() { return *kinematics; }
    const SteerableKinematics& body() const { return *kinematics; }

    // Observers that may outlive the unit hold this; it expires when the unit dies.
    std::weak_ptr<const int> lifeToken() const { return life_; }

    // 0 alive and free; 17 carried by an elevator pad; any other value the death
    // state of the kill that hit it. Effects write it only while it is 0.
    u32 state = UnitState::alive;
    // Active effect IDs.
    StatusSet statuses;
    std::unique_ptr<SteerableKinematics> kinematics;
    SteerableUnitMotion motion;
    // The may-move flag: no steering input while it is 0.
    u8 inputEnabled = 1;
    // The sum of the held steering keys' pushes (map units per second, each
    // key adds keySteeringSpeed along its axis); KeySteering walks by it.
    GeometryLib::FPoint keySteeringDirection;
    // Map units per second; player units get their body's maxSteeringSpeed.
    float keySteeringSpeed = 0.0f;
    // Held keys, in order +y, -y, -x, +x.
    std::array<u8, 4> keysHeld{};
    // Set for every unit when a waited dialog is dismissed.
    u8 dialogDismissed = 0;

private:
    u32 handle_;
    std::shared_ptr<const int> life_;
};

// A pointer to a unit that knows whether the unit still lives. For observers
// (effects, the simulator) whose target may be removed from the game before
// they are.
class WatchedUnit {
public:
    WatchedUnit() = default;
    explicit WatchedUnit(SteerableUnit* unit)
        : unit_(unit), life_(unit ? unit->lifeToken() : std::weak_ptr<const int>()) {}

    // The unit, or null when none was set or it has been destroyed.
    SteerableUnit* get() const { return unit_ && !life_.expired() ? unit_ : nullptr; }
    // The pointer as set, alive or not; for identity comparisons only.
    const SteerableUnit* address() const { return unit_; }

private:
    SteerableUnit* unit_ = nullptr;
    std::weak_ptr<const int> life_;
};

}  // namespace Zarn
