#include "simulation/scores/TimerScoreKeeper.h"

namespace Zarn {

TimerScoreKeeper::TimerScoreKeeper(const Convinience::Stopwatch& stopwatch)
    : ScoreKeeper(scoreKeeperKind::timer), stopwatch_(stopwatch) {}

void TimerScoreKeeper::addRow(u32 clientId, SteerableUnit& unit) {
    rows_.emplace(clientId, Row{WatchedUnit(&unit)});
}

void TimerScoreKeeper::update() {
    const u64 now = stopwatch_.elapsedMilliseconds();
    if (!started_) {
        for (auto& [clientId, row] : rows_) row.start = now;
        started_ = true;
    }
    for (auto& [clientId, row] : rows_) {
        if (row.finished) continue;
        const SteerableUnit* unit = row.unit.get();
        if (unit == nullptr) continue;
        if (!isEndState(row.lastSeenState) && isEndState(unit->state)) {
            row.end = now;
            row.finished = true;
        }
        row.lastSeenState = unit->state;
    }
}

u64 TimerScoreKeeper::timeOf(u32 clientId) const {
    const auto found = rows_.find(clientId);
    if (found == rows_.end()) return 0;
    const Row& row = found->second;
    const u64 until = row.finished ? row.end : stopwatch_.elapsedMilliseconds();
    return until >= row.start ? until - row.start : 0;
}

bool TimerScoreKeeper::isFinished(u32 clientId) const {
    const auto found = rows_.find(clientId);
    return found != rows_.end() && found->second.finished;
}

void TimerScoreKeeper::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(rows_.size()));
    for (const auto& [clientId, row] : rows_) {
        buffer.appendU32(clientId);
        buffer.appendU64(timeOf(clientId));
    }
}

}  // namespace Zarn
