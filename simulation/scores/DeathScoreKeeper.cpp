#include "simulation/scores/DeathScoreKeeper.h"

#include "world/units/SteerableUnitManager.h"

namespace Zarn {

DeathScoreKeeper::DeathScoreKeeper(const SteerableUnitManager& units)
    : MultiplayerScoreKeeper(scoreKeeperKind::deaths), units_(units) {}

void DeathScoreKeeper::addClient(u32 clientId) {
    SteerableUnit& unit = units_.getUnit(clientId);
    rows_.emplace(clientId, Row{WatchedUnit(&unit), 0, 0});
}

void DeathScoreKeeper::removeClient(u32 clientId) {
    rows_.erase(clientId);
}

void DeathScoreKeeper::update() {
    for (auto& [clientId, row] : rows_) {
        const SteerableUnit* unit = row.unit.get();
        if (unit == nullptr) continue;
        if (!isScoredDeathState(row.lastSeenState) && isScoredDeathState(unit->state)) ++row.deaths;
        row.lastSeenState = unit->state;
    }
}

void DeathScoreKeeper::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(rows_.size()));
    for (const auto& [clientId, row] : rows_) {
        buffer.appendU32(clientId);
        buffer.appendU32(row.deaths);
    }
}

u32 DeathScoreKeeper::deathsOf(u32 clientId) const {
    const auto found = rows_.find(clientId);
    return found == rows_.end() ? 0 : found->second.deaths;
}

}  // namespace Zarn
