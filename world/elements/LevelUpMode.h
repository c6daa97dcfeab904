#pragma once

#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class LevelUpModeElement;
class TrapDirectory;
class SteerableUnitManager;

// Values of the level-up mode's state.
namespace LevelUpValue {
inline constexpr u8 notStarted = 0;
inline constexpr u8 waiting = 1;  // before the first stage
inline constexpr u8 running = 2;  // current element shown, goal cells live
inline constexpr u8 pause = 3;    // after a won stage
inline constexpr u8 finished = 7;
}  // namespace LevelUpValue

// A series of stages: each shows one trap or group, moves every player to
// the start point and waits for a player on a goal cell; then the element is
// hidden and disabled, a pause follows, and the next element (in list order or
// at random) is shown. Finishes after the last element unless it loops.
//
// Record fields: modeFlagA random order, modeFlagB loop, modeValueA wait
// before the first stage (s), modeValueB pause between stages (s), anchor the
// start point (map units), areaCells the goal cells, memberNumbers the
// elements, looked up among the traps, then the trap groups of the store.
// Random choices draw from the calling thread's world random engine. The
// record, the store and the unit manager belong to the world and outlive
// the mode; `current` is an element of the same world.
class LevelUpMode : public UpdatableInteractiveMapElement {
public:
    LevelUpMode(TrapDirectory& store, SteerableUnitManager& units, const LevelUpModeElement& record);

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // A goal cell while a stage runs: the stage is won. The unit is not looked at.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // A new series; the element shown last stays as it is.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override;
    void update(float dt) override;

    u8 value() const { return static_cast<u8>(state.value); }
    std::size_t stageCount() const;

    TrapDirectory* store;
    u8 enabled = 1;
    LevelUpModeIMEState state;
    // The same record as `record`, typed.
    const LevelUpModeElement* modeRecord;
    float timer = 0.0f;
    InteractiveMapElement* current = nullptr;
    u32 index = 0;
    GeometryLib::Point spare;
    u32 stagesWon = 0;
    SteerableUnitManager* units;

private:
    void setValue(u8 v) { state.value = static_cast<ELevelUpModeState>(v); }
    void winStage();
    void chooseNextStage();
    void startStage();
};

}  // namespace Zarn
