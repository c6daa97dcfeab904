#pragma once

#include <map>

#include "simulation/scores/ScoreKeeper.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

class SteerableUnitManager;

// Counts each player's deaths: one per change from a state that is not a
// death state (3 to 8, 22) into one. Rows follow the game's clients. Used on
// the thread that steps the simulation.
//
// Section: u32 n, then n x {u32 client ID, u32 deaths}, ascending client ID.
class DeathScoreKeeper : public MultiplayerScoreKeeper {
public:
    // The unit manager is the game's and outlives the keeper.
    explicit DeathScoreKeeper(const SteerableUnitManager& units);

    // Opens a row with 0 deaths for the client's unit; a client with a row
    // keeps it. Throws Convinience::ClientIDNotFoundException for a client
    // without a unit.
    void addClient(u32 clientId) override;
    void removeClient(u32 clientId) override;

    void update() override;
    void serialize(Convinience::Buffer& buffer) const override;

    // The client's deaths; 0 without a row.
    u32 deathsOf(u32 clientId) const;

private:
    struct Row {
        WatchedUnit unit;
        u32 deaths = 0;
        u32 lastSeenState = 0;
    };

    const SteerableUnitManager& units_;
    std::map<u32, Row> rows_;
};

}  // namespace Zarn
