#include "simulation/sync/GameStateBuffer.h"

#include <string>

namespace Zarn {

bool GameStateBuffer::store(const GameState& received) {
    if (states_.count(received.tick) != 0) return false;
    const u32 baseTick = received.mapState.baseTick;
    if (baseTick != 0 && !hasMapState(baseTick)) {
        logger_.log(Convinience::severity::warn, "Dropped state " + std::to_string(received.tick) +
                                                     ": its base state " + std::to_string(baseTick) +
                                                     " is not held");
        return false;
    }
    GameState& filed = states_.emplace(received.tick, received).first->second;
    if (baseTick != 0) filed.mapState = rebuildMapState(baseTick, received.mapState);
    mapHistory_.emplace(filed.tick, filed.mapState);
    while (mapHistory_.size() > kHistoryLimit) mapHistory_.erase(mapHistory_.begin());
    return true;
}

MapState GameStateBuffer::rebuildMapState(u32 baseTick, const MapState& delta) const {
    auto it = mapHistory_.find(baseTick);
    return MapState::layOver(it == mapHistory_.end() ? nullptr : &it->second, delta);
}

GameState& GameStateBuffer::oldest() {
    if (states_.empty()) {
        logger_.log(Convinience::severity::critical, "Critical error game state buffer is empty");
        throw GameStateBufferEmptyException();
    }
    return states_.begin()->second;
}

GameState& GameStateBuffer::newest() {
    if (states_.empty()) {
        logger_.log(Convinience::severity::critical, "Critical error game state buffer is empty");
        throw GameStateBufferEmptyException();
    }
    return states_.rbegin()->second;
}

GameState& GameStateBuffer::secondOldest() {
    if (states_.size() < 2) {
        logger_.log(Convinience::severity::critical, "Critical error not enough game states");
        throw GameStateNotFoundException();
    }
    return std::next(states_.begin())->second;
}

void GameStateBuffer::removeOldest() {
    if (!states_.empty()) states_.erase(states_.begin());
}

}  // namespace Zarn
