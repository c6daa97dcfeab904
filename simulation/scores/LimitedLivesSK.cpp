#include "simulation/scores/LimitedLivesSK.h"

namespace Zarn {

LimitedLivesSK::LimitedLivesSK() : ScoreKeeper(scoreKeeperKind::limitedLives) {}

void LimitedLivesSK::addRow(u32 clientId, SteerableUnit& unit, u32 lives) {
    if (rows_.emplace(clientId, Row{WatchedUnit(&unit), lives, 0}).second) reportedLives_[clientId] = lives;
}

void LimitedLivesSK::update() {
    for (auto& [clientId, row] : rows_) {
        const SteerableUnit* unit = row.unit.get();
        if (unit == nullptr) continue;
        if (!isLifeCostingState(row.lastSeenState) && isLifeCostingState(unit->state) && row.lives > 0) {
            --row.lives;
            const std::lock_guard<std::mutex> lock(reportedMutex_);
            reported_.push_back({clientId, row.lives});
        }
        row.lastSeenState = unit->state;
    }
}

void LimitedLivesSK::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(rows_.size()));
    for (const auto& [clientId, row] : rows_) {
        buffer.appendU32(clientId);
        buffer.appendU32(row.lives);
    }
}

u32 LimitedLivesSK::livesOf(u32 clientId) const {
    const auto found = rows_.find(clientId);
    return found == rows_.end() ? 0 : found->second.lives;
}

void LimitedLivesSK::runReportedCommands() {
    std::vector<LifeLost> losses;
    {
        const std::lock_guard<std::mutex> lock(reportedMutex_);
        losses.swap(reported_);
    }
    for (const LifeLost& loss : losses) {
        reportedLives_[loss.clientId] = loss.livesLeft;
        if (loss.livesLeft == 0 && gameOver_) {
            gameOver_->execute();
        } else if (lifeLost_) {
            lifeLost_->execute();
        }
    }
}

u32 LimitedLivesSK::reportedLives(u32 clientId) const {
    const auto found = reportedLives_.find(clientId);
    return found == reportedLives_.end() ? 0 : found->second;
}

}  // namespace Zarn
