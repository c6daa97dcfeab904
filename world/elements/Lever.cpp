#include "world/elements/Lever.h"

#include "grid/CellGrid.h"
#include "map/records/SwitchElement.h"

namespace Zarn {

Lever::Lever(const SwitchElement& record, std::unique_ptr<Effect> effect, const CellGrid& grid)
    : InteractiveMapElement(record, std::move(effect)),
      state(record.startOff == 0 ? EOnOffState::on : EOnOffState::off),
      switchRecord(&record),
      cell(grid.toCell(record.position)) {}

bool Lever::touches(const GeometryLib::Point& at, SteerableUnit*) {
    return enabled != 0 && at.x == cell.x && at.y == cell.y;
}

void Lever::setState(const InteractiveMapElementState& s) {
    copyState(state, s);
}

MultiLever::MultiLever(const MultiSwitchElement& record, std::unique_ptr<Effect> effect, const CellGrid& grid)
    : Lever(record, std::move(effect), grid) {
    for (u32 number : record.leverNumbers) switches.emplace(number, false);
}

bool MultiLever::areAllSwitchesOn() const {
    for (const auto& [number, on] : switches) {
        if (!on) return false;
    }
    return state.value == EOnOffState::off;
}

void MultiLever::turnOnSwitch(u32 number) {
    auto it = switches.find(number);
    if (it == switches.end()) {
        logger.log(Convinience::severity::warn, "no such lever number!");
        return;
    }
    it->second = true;
}

void MultiLever::turnOffSwitch(u32 number) {
    auto it = switches.find(number);
    if (it == switches.end()) {
        logger.log(Convinience::severity::warn, "no such lever number!");
        return;
    }
    it->second = false;
}

bool MultiLever::isSwitchOn(u32 number) const {
    auto it = switches.find(number);
    return it != switches.end() && it->second;
}

SelectiveMultiLever::SelectiveMultiLever(const SelectiveMultiSwitchElement& record,
                                         std::unique_ptr<Effect> effect, const CellGrid& grid)
    : MultiLever(record, std::move(effect), grid),
      selectiveRecord(&record),
      selected(record.selectedNumbers.begin(), record.selectedNumbers.end()) {}

bool SelectiveMultiLever::areAllSwitchesOn() const {
    if (!wrong.empty()) return false;
    for (u32 number : selectiveRecord->selectedNumbers) {
        if (!isSwitchOn(number)) return false;
    }
    return true;
}

void SelectiveMultiLever::turnOnSwitch(u32 number) {
    MultiLever::turnOnSwitch(number);
    if (switches.count(number) == 1 && selected.count(number) == 0) wrong.insert(number);
}

void SelectiveMultiLever::turnOffSwitch(u32 number) {
    MultiLever::turnOffSwitch(number);
    if (switches.count(number) != 0) wrong.erase(number);
}

}  // namespace Zarn
