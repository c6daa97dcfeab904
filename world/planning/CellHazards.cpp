#include "world/planning/CellHazards.h"

#include "grid/CellGrid.h"
#include "world/effects/Kill.h"
#include "world/elements/Floor.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/ScheduledTrap.h"
#include "world/traps/TrapEffects.h"
#include "world/traps/TrapKills.h"
#include "world/triggers/PositionIMETrigger.h"

namespace Zarn {
namespace {

// Whether applying the effect to a living unit in the cell can kill it (a
// vortex counts everywhere it pulls).
bool canKill(const Effect& effect, const GeometryLib::Point& cell) {
    if (const auto* kill = dynamic_cast<const KillThenWait*>(&effect)) return kill->cells().contains(cell);
    if (const auto* moving = dynamic_cast<const KillIfMoving*>(&effect))
        return moving->kill.cells().contains(cell);
    return dynamic_cast<const Kill*>(&effect) != nullptr ||
           dynamic_cast<const BossArmEffect*>(&effect) != nullptr ||
           dynamic_cast<const VortexEffect*>(&effect) != nullptr;
}

}  // namespace

CellHazards::CellHazards(u32 columns, u32 rows)
    : cells_(static_cast<std::size_t>(columns) * rows, 0), columns_(columns), rows_(rows) {}

CellHazards CellHazards::read(const CellGrid& grid, const PositionIMETrigger& contacts) {
    CellHazards hazards(grid.getColumns(), grid.getRows());
    contacts.cells().forEach([&](const GeometryLib::Point& cell, const InteractiveMapElement* element) {
        hazards.raise(cell.x, cell.y, dangerOf(*element, cell));
    });
    return hazards;
}

CellHazards::Danger CellHazards::dangerOf(const InteractiveMapElement& element,
                                          const GeometryLib::Point& cell) {
    if (!element.effect || !canKill(*element.effect, cell)) return Danger::none;
    if (dynamic_cast<const Floor*>(&element) != nullptr)
        return element.isEnabled() ? Danger::always : Danger::none;
    if (element.isEnabled()) return Danger::sometimes;
    const Trap* trap = nullptr;
    if (dynamic_cast<const IntervalTrap*>(&element) != nullptr ||
        dynamic_cast<const ScheduledTrap*>(&element) != nullptr)
        trap = static_cast<const Trap*>(&element);
    return trap != nullptr && trap->trapRecord->startsActive != 0 ? Danger::always : Danger::none;
}

void CellHazards::raise(i32 cx, i32 cy, Danger danger) {
    if (cx < 0 || cy < 0 || static_cast<u32>(cx) >= columns_ || static_cast<u32>(cy) >= rows_) return;
    u8& cell = cells_[static_cast<std::size_t>(cx) * rows_ + static_cast<u32>(cy)];
    const u8 value = static_cast<u8>(danger);
    if (value <= cell) return;
    if (cell == 0) dangerous_.emplace_back(static_cast<i16>(cx), static_cast<i16>(cy));
    if (cell == static_cast<u8>(Danger::sometimes)) --sometimes_;
    if (danger == Danger::sometimes) ++sometimes_;
    cell = value;
}

}  // namespace Zarn
