#pragma once

#include <map>
#include <unordered_map>

#include "foundation/Interfaces.h"
#include "simulation/state/GameState.h"

namespace Zarn {

// Server side of the delta synchronisation: the full states sent lately and,
// per client, the map state the client is known to have. Used on the server
// thread only.
//
// A client that has acknowledged no state, or whose acknowledged state has
// left the history, or whose acknowledged tick is 0, gets full states (base
// tick 0). Otherwise it gets the map entries that are new or changed against
// its acknowledged state, with that state's tick as the base tick.
class GameStatePacker : public Convinience::MultiClientCreator {
public:
    static constexpr std::size_t kHistoryLimit = 100;

    void addClient(u32) override {}
    // The client returns to receiving full states.
    void removeClient(u32 clientId) override;

    // The client reports the tick of the newest state it holds. A tick that
    // the history does not hold is ignored.
    void acknowledge(u32 clientId, u32 tick);
    // The state to send the client in place of `full`.
    GameState makeDelta(u32 clientId, const GameState& full) const;
    // Files a full state that was sent; a tick already filed keeps its state.
    // Beyond kHistoryLimit states the oldest is erased.
    void file(const GameState& full);

    const std::map<u32, GameState>& history() const { return history_; }
    // The tick the client acknowledged last, or null.
    const u32* acknowledgedTick(u32 clientId) const;

private:
    struct Base {
        MapState state;
        bool hasBase = false;
    };

    std::map<u32, GameState> history_;
    std::unordered_map<u32, Base> bases_;
    std::unordered_map<u32, u32> acked_;
};

}  // namespace Zarn
