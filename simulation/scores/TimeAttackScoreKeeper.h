#pragma once

#include <memory>

#include "foundation/Command.h"
#include "foundation/Stopwatch.h"
#include "simulation/scores/ScoreKeeper.h"

namespace Zarn {

// A repeating countdown for the whole game: `limit` ms of play, then the
// command (in single play: kill every player), then `pause` ms in which the
// remaining time reads 0, then the next countdown. Not per player. Updated
// and serialised on the thread that steps the simulation; the command runs
// there too and must only touch that thread's world.
class TimeAttackScoreKeeper : public ScoreKeeper {
public:
    // The stopwatch is the game's and outlives the keeper. The command may be null.
    TimeAttackScoreKeeper(const Convinience::Stopwatch& stopwatch,
                          std::unique_ptr<Convinience::Command> command, u64 limitMs, u64 pauseMs);

    void update() override;
    // u64 remaining ms: 0 while expired or once the limit is reached.
    void serialize(Convinience::Buffer& buffer) const override;

    u64 remainingMs() const;
    bool expired() const { return expired_; }

private:
    const Convinience::Stopwatch& stopwatch_;
    std::unique_ptr<Convinience::Command> command_;
    u64 limit_;
    u64 pause_;
    bool started_ = false;
    u64 start_ = 0;
    bool expired_ = false;
};

}  // namespace Zarn
