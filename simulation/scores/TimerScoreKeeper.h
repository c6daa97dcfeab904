#pragma once

#include <map>

#include "foundation/Stopwatch.h"
#include "simulation/scores/ScoreKeeper.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

// Times each player from the keeper's first update until the player's unit
// first enters an end state (12, 17, 18). Used on the thread that steps the
// simulation.
//
// Section: u32 n, then n x {u32 client ID, u64 ms}; ms is the finished time,
// or the running time while the player has not finished.
class TimerScoreKeeper : public ScoreKeeper {
public:
    // The stopwatch is the game's and outlives the keeper.
    explicit TimerScoreKeeper(const Convinience::Stopwatch& stopwatch);

    // A row for a player's unit, all values 0; a client with a row keeps it.
    // The unit may be removed from the game before the keeper; its row then
    // stops changing.
    void addRow(u32 clientId, SteerableUnit& unit);

    void update() override;
    void serialize(Convinience::Buffer& buffer) const override;

    // The ms that the section reports for the client; 0 without a row.
    u64 timeOf(u32 clientId) const;
    bool isFinished(u32 clientId) const;

private:
    struct Row {
        WatchedUnit unit;
        u64 start = 0;
        u64 end = 0;
        u32 lastSeenState = 0;
        bool finished = false;
    };

    const Convinience::Stopwatch& stopwatch_;
    bool started_ = false;
    std::map<u32, Row> rows_;
};

}  // namespace Zarn
