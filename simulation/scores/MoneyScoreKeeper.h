#pragma once

#include "simulation/scores/ScoreKeeper.h"

namespace Zarn {

class SteerableUnitManager;
class MoneyTally;

// Keeps the money that each player's unit collects. The coins of the world
// pay into the tally by unit handle (a player's client ID); this keeper opens
// and closes its rows as clients come and go. Used on the thread that steps
// the simulation.
//
// Section: u32 n, then n x {u32 client ID, u32 money}, ascending client ID.
class MoneyScoreKeeper : public MultiplayerScoreKeeper {
public:
    // The unit manager and the tally are the game's and outlive the keeper.
    MoneyScoreKeeper(const SteerableUnitManager& units, MoneyTally& tally);

    // Opens a row with money 0; a client with a row keeps it. Throws
    // Convinience::ClientIDNotFoundException for a client without a unit.
    void addClient(u32 clientId) override;
    void removeClient(u32 clientId) override;

    // Money changes only through the tally.
    void update() override {}
    void serialize(Convinience::Buffer& buffer) const override;

    MoneyTally& tally() { return tally_; }

private:
    const SteerableUnitManager& units_;
    MoneyTally& tally_;
};

}  // namespace Zarn
