#include "simulation/sync/GameStatePacker.h"

namespace Zarn {

void GameStatePacker::removeClient(u32 clientId) {
    bases_.erase(clientId);
    acked_.erase(clientId);
}

void GameStatePacker::acknowledge(u32 clientId, u32 tick) {
    auto it = history_.find(tick);
    if (it == history_.end()) return;
    acked_[clientId] = tick;
    Base& base = bases_[clientId];
    base.state = it->second.mapState;
    base.hasBase = true;
}

GameState GameStatePacker::makeDelta(u32 clientId, const GameState& full) const {
    auto acked = acked_.find(clientId);
    // Base tick 0 is how the wire marks a full state, so a delta against tick 0
    // would be taken as complete and its unchanged entries lost: send it full.
    if (acked == acked_.end() || acked->second == 0 || history_.count(acked->second) == 0) return full;
    auto base = bases_.find(clientId);
    GameState delta;
    delta.tick = full.tick;
    delta.clientStates = full.clientStates;
    delta.inputStates = full.inputStates;
    delta.ackedInputs = full.ackedInputs;
    delta.mapState = MapState::diffAgainst(
        base != bases_.end() && base->second.hasBase ? &base->second.state : nullptr, full.mapState);
    delta.mapState.baseTick = acked->second;
    return delta;
}

void GameStatePacker::file(const GameState& full) {
    history_.emplace(full.tick, full);
    while (history_.size() > kHistoryLimit) history_.erase(history_.begin());
}

const u32* GameStatePacker::acknowledgedTick(u32 clientId) const {
    auto it = acked_.find(clientId);
    return it == acked_.end() ? nullptr : &it->second;
}

}  // namespace Zarn
