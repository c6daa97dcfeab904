#pragma once

#include <unordered_map>
#include <unordered_set>

#include "foundation/Logger.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class CellGrid;
class MultiSwitchElement;
class SelectiveMultiSwitchElement;
class SwitchElement;

// A one-cell element that a unit flips by walking onto it: value 1 on, 0 off.
// The flip itself and its actions are the lever effect's. The record belongs
// to the game map and outlives the lever. Used by the thread that owns the world.
class Lever : public InteractiveMapElement {
public:
    // The lever's cell is the grid cell of the record's position.
    Lever(const SwitchElement& record, std::unique_ptr<Effect> effect, const CellGrid& grid);

    void enable() override { enabled = 1; }
    // Keeps the value.
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    // Enabled and on the lever's cell; the unit is not looked at.
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    bool reactsOnEnterOnly() override { return true; }
    // On.
    void reset() override { state.value = EOnOffState::on; }
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override;

    bool isOn() const { return state.value == EOnOffState::on; }

    // Off when the record's startOff is set, else on.
    OnOffIMEState state;
    // The same record as `record`, typed.
    const SwitchElement* switchRecord;
    u8 enabled = 1;
    GeometryLib::Point cell;
};

// A lever whose actions run only while all its numbered switches are on. The
// switches are turned on and off by the multi-switch commands; reset leaves
// them as they are.
class MultiLever : public Lever {
public:
    MultiLever(const MultiSwitchElement& record, std::unique_ptr<Effect> effect, const CellGrid& grid);

    // Every switch is on and the lever itself is off (no switches: whether it is off).
    virtual bool areAllSwitchesOn() const;
    // Unknown numbers are logged at WARN ("no such lever number!") and ignored.
    virtual void turnOnSwitch(u32 number);
    virtual void turnOffSwitch(u32 number);

    bool isSwitchOn(u32 number) const;

    // Switch number -> on; one entry per number of the record's leverNumbers.
    std::unordered_map<u32, bool> switches;
    Convinience::Logger logger;
};

// A multi lever that wants exactly its selected switches on: a switch that is
// on but not selected makes it refuse until that switch is off again. Its own
// value is not looked at.
class SelectiveMultiLever : public MultiLever {
public:
    SelectiveMultiLever(const SelectiveMultiSwitchElement& record, std::unique_ptr<Effect> effect,
                        const CellGrid& grid);

    // No wrong switch on, and every selected number is a switch that is on.
    bool areAllSwitchesOn() const override;
    void turnOnSwitch(u32 number) override;
    void turnOffSwitch(u32 number) override;

    // Owned by the game map.
    const SelectiveMultiSwitchElement* selectiveRecord;
    std::unordered_set<u32> selected;
    // Switches that are on but not selected.
    std::unordered_set<u32> wrong;
};

}  // namespace Zarn
