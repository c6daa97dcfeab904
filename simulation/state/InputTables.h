#pragma once

#include <map>
#include <set>
#include <vector>

#include "simulation/state/InputState.h"

namespace Zarn {

// Client side: the input states this client has sent and the server has not
// yet acknowledged, by input tick, oldest first. Used on the client's thread.
class UnconfirmedInputTable {
public:
    void insert(const InputState& state) { states_[state.inputTick] = state; }
    // Ticks that are not held are ignored.
    void erase(u32 inputTick) { states_.erase(inputTick); }
    // Erases every tick that the acknowledgement records of the state list for clientId.
    void eraseAcknowledged(u32 clientId, const std::vector<AckedInputTicks>& acked);
    bool contains(u32 inputTick) const { return states_.count(inputTick) != 0; }
    std::size_t size() const { return states_.size(); }
    const std::map<u32, InputState>& all() const { return states_; }

private:
    std::map<u32, InputState> states_;
};

// Server side: per client, the input ticks whose inputs have been applied;
// reported back to each client in every state. Used on the server thread.
class AppliedInputRegistry {
public:
    // The input states of `received` whose tick is not in the client's set, in order.
    std::vector<const InputState*> newInputs(u32 clientId, const std::vector<InputState>& received);
    // The client's set becomes the ticks of `received`.
    void replace(u32 clientId, const std::vector<InputState>& received);
    void removeClient(u32 clientId) { applied_.erase(clientId); }
    const std::map<u32, std::set<u32>>& all() const { return applied_; }

private:
    std::map<u32, std::set<u32>> applied_;
};

}  // namespace Zarn
