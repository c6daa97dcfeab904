#include "simulation/state/InputTables.h"

namespace Zarn {

void UnconfirmedInputTable::eraseAcknowledged(u32 clientId, const std::vector<AckedInputTicks>& acked) {
    for (const AckedInputTicks& record : acked) {
        if (record.clientID != clientId) continue;
        for (u32 tick : record.ticks) erase(tick);
        return;
    }
}

std::vector<const InputState*> AppliedInputRegistry::newInputs(u32 clientId,
                                                               const std::vector<InputState>& received) {
    const std::set<u32>& done = applied_[clientId];
    std::vector<const InputState*> fresh;
    for (const InputState& state : received) {
        if (done.count(state.inputTick) == 0) fresh.push_back(&state);
    }
    return fresh;
}

void AppliedInputRegistry::replace(u32 clientId, const std::vector<InputState>& received) {
    std::set<u32>& done = applied_[clientId];
    done.clear();
    for (const InputState& state : received) done.insert(state.inputTick);
}

}  // namespace Zarn
