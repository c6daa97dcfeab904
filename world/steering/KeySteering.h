#pragma once

#include "world/steering/Steering.h"

namespace Zarn {

class BlockableManager;
class CellGrid;

// Walks a player's unit by the steering keys its player holds. The unit's
// key-steering direction is the sum of the held keys' pushes (the input
// handler adds and takes away the unit's key speed per key); each step the
// unit's own motion is set to that direction at the key speed, so a diagonal
// is as fast as a straight walk. An axis (and then a diagonal) whose next
// stretch would enter a blocked point (a solid cell or a point outside the
// room, or a blockable such as a closed door) is left out, so the unit slides
// along walls and stops in front of them; a unit that stands inside a solid
// cell or outside the room walks freely until it is out.
//
// When the keys cancel out or are released, when the unit's input is
// disabled, when its motion takes no steering or when it is no longer alive
// (dead, or carried by an elevator pad), the unit's own motion stops and the
// behaviour finishes.
//
// The unit's motion owns the behaviour; the unit, the grid and the blockables
// (the loaded map's) outlive it. Used by the thread that owns the world.
class KeySteering : public Steering {
public:
    // How far ahead (map units) a walk must be free, at least: the feeler
    // length of obstacle avoidance.
    static constexpr float kLookAhead = 8.0f;

    KeySteering(SteerableUnit* unit, const CellGrid& grid, const BlockableManager& blockables)
        : unit(unit), grid(&grid), blockables(&blockables) {}

    // Sets the body's steering velocity (returns the zero record).
    void steer(SteeringForces& out, float dt) override;
    std::unique_ptr<Steering> cloneFor(SteerableUnit* other) const override;
    bool isFinished() const override { return finished; }

    // The velocity the held keys ask of the unit at its position for a step of
    // dt seconds, walls left out as above; (0, 0) when the keys point nowhere.
    GeometryLib::FPoint keyVelocity(float dt) const;
    bool isBlocked(const GeometryLib::FPoint& point) const;

    // After a key event of the unit's player: when the held keys point
    // somewhere, the unit may steer (alive, input enabled, motion steerable)
    // and no key steering runs yet, the unit's movement steering (a walk to a
    // clicked point or a scripted walk) is dropped and a KeySteering filed.
    // A click later replaces the key steering in turn; held keys then steer
    // again from the next key event on.
    static void takeOver(SteerableUnit& unit, const CellGrid& grid, const BlockableManager& blockables);
    // Whether the key direction points anywhere (longer than 1 map unit per
    // second).
    static bool keysPoint(const SteerableUnit& unit);
    // Whether the unit may be steered by its player now.
    static bool maySteer(const SteerableUnit& unit);

    SteerableUnit* unit;
    const CellGrid* grid;
    const BlockableManager* blockables;
    bool finished = false;
};

}  // namespace Zarn
