#pragma once

#include <map>
#include <unordered_map>

#include "foundation/ByteReader.h"
#include "simulation/scores/LevelScore.h"
#include "simulation/scores/ScoreKeeper.h"

namespace Zarn {

// Client ID -> that player's values as last received.
class LevelScoreMap {
public:
    // The client's record; an unknown client gets an all-zero one.
    LevelScore& operator[](u32 clientId) { return scores_[clientId]; }
    const std::unordered_map<u32, LevelScore>& all() const { return scores_; }
    void erase(u32 clientId) { scores_.erase(clientId); }
    void clear() { scores_.clear(); }

private:
    std::unordered_map<u32, LevelScore> scores_;
};

// Kind -> keeper, iterated in ascending kind order. Keepers are not owned:
// they live as long as the game that files them.
class ScoreKeeperMap {
public:
    // A kind that is present keeps its first keeper; answers whether it was filed.
    bool insert(u8 kind, ScoreKeeper* keeper) { return keepers_.emplace(kind, keeper).second; }
    ScoreKeeper* find(u8 kind) const;
    const std::map<u8, ScoreKeeper*>& all() const { return keepers_; }

private:
    std::map<u8, ScoreKeeper*> keepers_;
};

// The score keepers of one side of one game and, on the client, the values
// parsed from the score blocks it receives. The server's registry and a
// client's registry must hold the same kinds. Each registry is used by one
// thread: the server's on the server thread, a client's on the main thread.
//
// Score block: one section per kind, ascending, fields back to back:
//
// | kind | section                                          |
// |------|--------------------------------------------------|
// | 0    | u32 n, n x {u32 client ID, u32 deaths}           |
// | 1    | u32 n, n x {u32 client ID, u64 ms}               |
// | 2    | u64 remaining ms of the time-attack countdown    |
// | 3    | u32 n, n x {u32 client ID, u32 lives}            |
// | 4    | u32 n, n x {u32 client ID, u32 money}            |
class ScoreKeeperRegistry {
public:
    ScoreKeeperMap keepers;
    LevelScoreMap scores;
    // The time-attack countdown's remaining ms as last received; 0 until a
    // time-attack section arrives.
    u64 timeAttackRemaining = 0;

    // Updates every keeper, in ascending kind order.
    void updateAll();
    // Writes the score block: every keeper's section, in ascending kind order.
    void serializeAll(Convinience::Buffer& buffer) const;
    // Parses a score block with this registry's kinds into `scores` and
    // `timeAttackRemaining`; answers the bytes consumed (the reader moves past
    // them). A kind without a section format throws "no such scorekeeper"; a
    // short block throws Convinience::ReadPastEndError and changes nothing.
    u32 applyScores(Convinience::ByteReader& reader);
};

}  // namespace Zarn
