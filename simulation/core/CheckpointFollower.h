#pragma once

#include <unordered_map>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

class CellGrid;
class Checkpoint;
class GameState;
class NumberedElementGroup;
class SpawnPoints;

// Keeps a client's spawn points in step with the checkpoints the server
// records. The states carry each checkpoint's value, not whose it is: a
// checkpoint whose value turns off (some unit's current checkpoint) in a
// received state was recorded in that tick by the units that stand on its
// cell in the same state, and becomes theirs here too. (A unit that reaches a
// checkpoint that is already another unit's shows no change and is not seen.)
//
// The table, the spawn points and the grid belong to the client's world and
// outlive the follower. Main thread; states are followed in the order they
// were filed.
class CheckpointFollower {
public:
    CheckpointFollower(const NumberedElementGroup& elements, SpawnPoints& spawnPoints, const CellGrid& grid)
        : elements_(elements), spawnPoints_(spawnPoints), grid_(grid) {}

    // A full state the client has filed.
    void follow(const GameState& state);

private:
    struct Followed {
        Checkpoint* checkpoint;
        u32 number;
        bool off;
    };
    // The world's checkpoints, found in the table on the first state (the map
    // is loaded by then).
    void findCheckpoints();

    const NumberedElementGroup& elements_;
    SpawnPoints& spawnPoints_;
    const CellGrid& grid_;
    std::vector<Followed> checkpoints_;
    bool found_ = false;
};

}  // namespace Zarn
