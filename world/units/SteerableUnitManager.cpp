#include "world/units/SteerableUnitManager.h"

#include <string>

#include "foundation/Error.h"

namespace Zarn {

SteerableUnitManager::SteerableUnitManager() = default;

SteerableUnitManager::~SteerableUnitManager() = default;

void SteerableUnitManager::addClient(u32 clientId) {
    if (units_.count(clientId) != 0) return;
    auto unit = std::make_unique<SteerableUnit>(clientId);
    unit->body().position = defaultPosition;
    // A player walks by keys as fast as to a clicked point.
    unit->keySteeringSpeed = unit->body().maxSteeringSpeed;
    addressIndex_[unit.get()] = clientId;
    units_.emplace(clientId, std::move(unit));
}

void SteerableUnitManager::removeClient(u32 clientId) {
    auto it = units_.find(clientId);
    if (it == units_.end()) return;
    addressIndex_.erase(it->second.get());
    units_.erase(it);
}

SteerableUnit* SteerableUnitManager::findUnit(u32 clientId) const {
    auto it = units_.find(clientId);
    return it == units_.end() ? nullptr : it->second.get();
}

SteerableUnit& SteerableUnitManager::getUnit(u32 clientId) const {
    if (SteerableUnit* unit = findUnit(clientId)) return *unit;
    logger_.log(Convinience::severity::critical,
                "Invalid clientID " + std::to_string(clientId) + " when fetching steerableUnit ");
    throw Convinience::ClientIDNotFoundException();
}

u32 SteerableUnitManager::getClientID(const SteerableUnit* unit) const {
    auto it = addressIndex_.find(unit);
    if (it == addressIndex_.end()) throw Convinience::Error("no such unit pointer");
    return it->second;
}

void SteerableUnitManager::forEachUnit(const std::function<void(u32, SteerableUnit&)>& fn) const {
    if (!fn) throw std::bad_function_call();
    for (const auto& [clientId, unit] : units_) fn(clientId, *unit);
}

}  // namespace Zarn
