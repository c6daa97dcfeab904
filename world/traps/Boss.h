#pragma once

#include <memory>
#include <vector>

#include "map/records/ActionData.h"
#include "map/records/ActionIds.h"
#include "map/records/BossElement.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class ActionEventTrigger;
class FollowHitTrap;
class FollowSpawningTrap;
class TrapDirectory;
class TrapGroup;
class TrapSpawningTrap;

// The final enemy: fills an arena and cycles through up to four attack phases,
// each driven by traps of the map it commands: 1 its bomb trap (with the small
// trap spawner), 2 the cannon trap group, 3 the large trap spawner, 4 its two
// arms (with the small trap spawner). Each hit of its bomb on a bombable trap
// or of an arm on an active delayed trap costs it one health; when a hit pause
// ends with no health left it disables itself.
//
// Visible states (BossState::state): 0 after reset, 1 waiting, 4 bomb attack
// begins, 5 the second after a bomb or arm attack, 6 bomb hit, 7 cannons
// firing, 8 large spawner running, 9 arm attack begins, 10 arm hit.
//
// It only advances while a unit stands on its record's cells, in phase 2, or
// while held. The record is owned by the game map; the directory, the
// commanded traps and the action sink belong to the world and outlive the
// boss. Used on the thread that owns the world; update takes the tick delta in
// seconds.
class Boss : public Trap {
public:
    static constexpr float kBombHitPause = 2.0f;
    static constexpr float kArmHitPause = 3.0f;

    Boss(const BossElement& record, std::unique_ptr<Effect> effect, TrapDirectory& directory);

    // Resolves the commanded traps by the record's numbers for its phase count,
    // hooks the hit handlers, then enabled := 1 and phase := 1. Throws
    // Convinience::Error ("boss not valid phase count", "boss not valid arm 0
    // trap", "boss not valid arm 1 trap", "boss not valid large trap spawner
    // trap", "boss not valid canon trap group", "boss not valid small trap
    // spawner trap", "boss not valid bomb trap") and then stays as it was.
    void enable() override;
    // enabled := 0 and reset; then hands the action sink, when one is set, the
    // action "trap disabled" (action ID 1, the boss's trap number): the
    // level's events tied to the boss's defeat fire from there.
    void disable() override;
    bool isEnabled() const override { return enabled != 0; }
    // Notes whether a unit is in the arena; while enabled, true on either boss
    // cell outside phase 2.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // Visible state and timers to 0; resets and disables every commanded trap.
    // Phase and health stay.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    // Copies hidden, state and health of a BossState; ignores other states.
    void setState(const InteractiveMapElementState& other) override;
    void update(float dt) override;

    // Called by the bomb when it lands on a bombable trap and by an arm when
    // it strikes an active delayed trap.
    void onBombHit();
    void onArmHit();

    u8 enabled = 0;
    BossState state;
    // Owned by the game map.
    const BossElement* bossRecord;
    // Not owned; see the class comment.
    TrapDirectory* directory;
    FollowHitTrap* arm0 = nullptr;
    FollowHitTrap* arm1 = nullptr;
    FollowSpawningTrap* bomb = nullptr;
    TrapSpawningTrap* smallSpawner = nullptr;
    TrapSpawningTrap* largeSpawner = nullptr;
    TrapGroup* cannonGroup = nullptr;
    float phaseTimer = 0.0f;
    u8 hitPause = 0;
    float pauseTimer = 0.0f;
    // 1 to 4 while fighting; 0 before the first enable.
    u32 phase = 0;
    u8 unitInRange = 0;
    // The world's bindable event trigger; not owned, null unless the trap
    // factory sets it.
    ActionEventTrigger* actionSink = nullptr;
    // The columns of three cells the two arms stand on; the small spawner
    // keeps them free in phase 4.
    std::vector<GeometryLib::Point> armCells;
    // Keeps the boss advancing without a unit in range; nothing sets it yet.
    u8 held = 0;

private:
    void onHit(u8 visibleState);
    u32 bombPhase(float dt);
    u32 cannonPhase(float dt);
    u32 largeSpawnerPhase(float dt);
    u32 armPhase(float dt);
    bool armsEnabled() const;
    void armsDown();
    void armsFresh();

    // The action the boss reports when disabled.
    NumberActionData disabledAction_;
};

}  // namespace Zarn
