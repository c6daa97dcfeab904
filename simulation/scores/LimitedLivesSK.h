#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "foundation/Command.h"
#include "simulation/scores/ScoreKeeper.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

// Counts down each player's lives: one per change from a state outside 3 to
// 8 into one (state 22 costs no life), while lives remain.
//
// Threads: rows and commands are set by the creator before the keeper is
// handed to the simulation; update and serialize then run on the thread that
// steps the simulation. The game-over and life-lost commands belong to the
// presentation, so update does not run them: it reports each lost life, and
// the main thread runs the commands in runReportedCommands.
//
// Section: u32 n, then n x {u32 client ID, u32 lives}, ascending client ID.
class LimitedLivesSK : public ScoreKeeper {
public:
    LimitedLivesSK();

    // A row for a player's unit with its lives; a client with a row keeps it.
    void addRow(u32 clientId, SteerableUnit& unit, u32 lives);
    // Either may be null (nothing runs for it).
    void setGameOverCommand(std::unique_ptr<Convinience::Command> command) { gameOver_ = std::move(command); }
    void setLifeLostCommand(std::unique_ptr<Convinience::Command> command) { lifeLost_ = std::move(command); }

    void update() override;
    void serialize(Convinience::Buffer& buffer) const override;

    // Simulation thread: the client's lives now; 0 without a row.
    u32 livesOf(u32 clientId) const;

    // Main thread: for every life lost since the last call, in order, runs the
    // game-over command when it was the last life and one is set, else the
    // life-lost command when one is set. Before each command runs,
    // reportedLives answers the lives that were left with that loss.
    void runReportedCommands();
    // Main thread: the lives of the client as of the last reported loss
    // (its starting lives before any).
    u32 reportedLives(u32 clientId) const;

private:
    struct Row {
        WatchedUnit unit;
        u32 lives = 0;
        u32 lastSeenState = 0;
    };
    struct LifeLost {
        u32 clientId;
        u32 livesLeft;
    };

    std::map<u32, Row> rows_;
    std::unique_ptr<Convinience::Command> gameOver_;
    std::unique_ptr<Convinience::Command> lifeLost_;

    std::mutex reportedMutex_;
    std::vector<LifeLost> reported_;  // guarded by reportedMutex_

    std::map<u32, u32> reportedLives_;  // main thread
};

}  // namespace Zarn
