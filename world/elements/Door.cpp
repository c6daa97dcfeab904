#include "world/elements/Door.h"

#include "map/records/DoorElement.h"
#include "world/steering/SteerableProximity.h"

namespace Zarn {

namespace {

GeometryLib::FRect rectOf(const DoorElement& record) {
    return GeometryLib::FRect(static_cast<float>(record.width), static_cast<float>(record.height),
                              GeometryLib::FPoint(record.position));
}

}  // namespace

Door::Door(const DoorElement& record, const CellGrid& grid, BlockableManager* blockables)
    : UpdatableInteractiveMapElement(record, makeNullEffect()),
      doorRecord(&record),
      blockRect(rectOf(record)),
      blockable(std::make_unique<RectBlockable>(grid, blockables, blockRect)) {}

Door::~Door() = default;

bool Door::touches(const GeometryLib::Point&, SteerableUnit*) {
    return false;
}

void Door::setState(const InteractiveMapElementState& s) {
    copyState(state, s);
}

void Door::update(float) {}

const std::vector<GeometryLib::Point>& Door::coveredCells() const {
    return blockable->coveredCells();
}

bool Door::contains(const GeometryLib::FPoint& point) const {
    if (isOpen()) return false;
    return blockable->contains(point);
}

GeometryLib::FPoint Door::blockingNormal(const GeometryLib::FPoint& position,
                                         const GeometryLib::FPoint& movement) {
    return blockable->blockingNormal(position, movement);
}

AutomaticDoor::AutomaticDoor(const AutomaticDoorElement& record, const CellGrid& grid,
                             BlockableManager* blockables, std::unique_ptr<SteerableProximity> proximity)
    : Door(record, grid, blockables), sensorRecord(&record), proximity(std::move(proximity)) {}

AutomaticDoor::~AutomaticDoor() = default;

bool AutomaticDoor::touches(const GeometryLib::Point& cell, SteerableUnit* unit) {
    if (!enabled || !unit) return false;
    if (!sensorRecord->sensorCells.contains(cell)) return false;
    proximity->setUnitCell(unit, cell);
    return true;
}

void AutomaticDoor::update(float) {
    if (!enabled) return;
    state.value = proximity->hasUnits() ? EDoorState::open : EDoorState::closed;
    proximity->prune();
}

}  // namespace Zarn
