#include "simulation/scores/MoneyScoreKeeper.h"

#include "world/units/MoneyTally.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

MoneyScoreKeeper::MoneyScoreKeeper(const SteerableUnitManager& units, MoneyTally& tally)
    : MultiplayerScoreKeeper(scoreKeeperKind::money), units_(units), tally_(tally) {}

void MoneyScoreKeeper::addClient(u32 clientId) {
    units_.getUnit(clientId);  // throws for a client without a unit
    tally_.addRow(clientId);
}

void MoneyScoreKeeper::removeClient(u32 clientId) {
    tally_.removeRow(clientId);
}

void MoneyScoreKeeper::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(tally_.rows().size()));
    for (const auto& [clientId, money] : tally_.rows()) {
        buffer.appendU32(clientId);
        buffer.appendU32(money);
    }
}

}  // namespace Zarn
