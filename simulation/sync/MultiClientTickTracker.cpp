#include "simulation/sync/MultiClientTickTracker.h"

#include <algorithm>
#include <string>

namespace Zarn {

void MultiClientTickTracker::addClient(u32 clientId) {
    const u64 t = now();
    Entry& e = clients_[clientId];
    e.lastConfirmMs = t;
    e.confirmedSinceJoin = false;
    joined_[clientId] = t;
    recomputeAllowance();
}

void MultiClientTickTracker::removeClient(u32 clientId) {
    clients_.erase(clientId);
    joined_.erase(clientId);
    recomputeAllowance();
}

void MultiClientTickTracker::confirm(u32 clientId) {
    Entry& e = clients_[clientId];
    e.confirmed = true;
    e.confirmedSinceJoin = true;
    if (stopwatch_) e.lastConfirmMs = now();
}

void MultiClientTickTracker::onStep(u32 tick) {
    tick_ = tick;
    for (auto& entry : clients_) entry.second.confirmed = false;
    lastStepMs_ = now();
}

bool MultiClientTickTracker::mayStep() {
    if (!stopwatch_) return true;
    if (now() - lastStepMs_ >= kOverdueMs) return admitOverdue();
    if (!allConfirmed()) return false;
    for (auto& entry : clients_) {
        if (entry.second.strikes > 0) --entry.second.strikes;
    }
    return true;
}

bool MultiClientTickTracker::allConfirmed() const {
    for (const auto& entry : clients_) {
        const Entry& e = entry.second;
        if (!e.confirmed && e.confirmedSinceJoin) return false;
    }
    return true;
}

bool MultiClientTickTracker::admitOverdue() {
    u32 unconfirmed = 0;
    for (auto& entry : clients_) {
        Entry& e = entry.second;
        if (e.confirmed) {
            if (e.strikes > 0) --e.strikes;
        } else {
            ++e.strikes;
            ++unconfirmed;
        }
    }
    return unconfirmed <= allowance_;
}

std::vector<u32> MultiClientTickTracker::collectLaggards() const {
    std::vector<u32> ids;
    for (const auto& [id, e] : clients_) {
        if (e.strikes > kStrikeLimit) ids.push_back(id);
    }
    return ids;
}

void MultiClientTickTracker::recomputeAllowance() {
    // One unconfirmed client is tolerated up to five clients, two from six to
    // nine, one more per four further clients.
    allowance_ = std::max<u32>(1, (static_cast<u32>(clients_.size()) + 2) / 4);
}

bool checkLaggards(MultiClientTickTracker& tracker, LagKicker* kicker, const Convinience::Logger& logger) {
    if (tracker.mayStep()) return true;
    const std::vector<u32> laggards = tracker.collectLaggards();
    if (laggards.empty()) return false;
    std::string ids;
    for (u32 id : laggards) ids += " " + std::to_string(id) + " ";
    if (kicker) {
        kicker->kick(laggards);
        logger.log(Convinience::severity::warn, "Client(s) " + ids + " kicked for slowing down simulation");
        return true;
    }
    logger.log(Convinience::severity::warn, "Client(s)" + ids + "slowing down simulation");
    return false;
}

}  // namespace Zarn
