#include "simulation/scores/TimeAttackScoreKeeper.h"

namespace Zarn {

TimeAttackScoreKeeper::TimeAttackScoreKeeper(const Convinience::Stopwatch& stopwatch,
                                             std::unique_ptr<Convinience::Command> command, u64 limitMs,
                                             u64 pauseMs)
    : ScoreKeeper(scoreKeeperKind::timeAttack),
      stopwatch_(stopwatch),
      command_(std::move(command)),
      limit_(limitMs),
      pause_(pauseMs) {}

void TimeAttackScoreKeeper::update() {
    const u64 now = stopwatch_.elapsedMilliseconds();
    if (!started_) {
        started_ = true;
        start_ = now;
    }
    const u64 d = now >= start_ ? now - start_ : 0;
    if (!expired_) {
        if (d >= limit_) {
            if (command_) command_->execute();
            expired_ = true;
            start_ = now;
        }
    } else if (d >= pause_) {
        expired_ = false;
        start_ = now - (d - pause_);
    }
}

u64 TimeAttackScoreKeeper::remainingMs() const {
    if (expired_) return 0;
    const u64 now = stopwatch_.elapsedMilliseconds();
    const u64 d = started_ && now >= start_ ? now - start_ : 0;
    return d >= limit_ ? 0 : limit_ - d;
}

void TimeAttackScoreKeeper::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU64(remainingMs());
}

}  // namespace Zarn
