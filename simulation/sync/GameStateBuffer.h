#pragma once

#include <exception>
#include <map>

#include "foundation/Logger.h"
#include "simulation/state/GameState.h"

namespace Zarn {

class GameStateBufferEmptyException : public std::exception {};
class GameStateNotFoundException : public std::exception {};

// Client side: the received states by tick, each with a full map state, for
// the playback to consume from the oldest; and the full map states of the
// last kHistoryLimit ticks, against which deltas are rebuilt. Used on the
// client's thread only.
class GameStateBuffer {
public:
    static constexpr std::size_t kHistoryLimit = 100;

    // Files a received state under its tick and answers whether it was filed.
    // Not filed: a state of that tick is already filed (a duplicate), or the
    // state is a delta against a tick whose full map state is not held
    // (rebuilding it from nothing would lose the entries it leaves out).
    bool store(const GameState& received);
    // The full map state that a delta describes, laid over the held map state
    // of its base tick (or over an empty one when that is not held).
    MapState rebuildMapState(u32 baseTick, const MapState& delta) const;

    // Log at CRITICAL and throw GameStateBufferEmptyException when empty.
    GameState& oldest();
    GameState& newest();
    // Logs at CRITICAL and throws GameStateNotFoundException below two states.
    GameState& secondOldest();
    void removeOldest();

    std::size_t size() const { return states_.size(); }
    bool empty() const { return states_.empty(); }
    bool hasMapState(u32 tick) const { return mapHistory_.count(tick) != 0; }
    const std::map<u32, GameState>& states() const { return states_; }
    const std::map<u32, MapState>& mapHistory() const { return mapHistory_; }

private:
    std::map<u32, GameState> states_;
    std::map<u32, MapState> mapHistory_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
