#pragma once

#include "foundation/Buffer.h"
#include "foundation/Interfaces.h"
#include "foundation/Types.h"

namespace Zarn {

// The scored quantities; a keeper's kind is also its section's place in the
// score block (sections in ascending kind order).
namespace scoreKeeperKind {
inline constexpr u8 deaths = 0;
inline constexpr u8 timer = 1;
inline constexpr u8 timeAttack = 2;
inline constexpr u8 limitedLives = 3;
inline constexpr u8 money = 4;
}  // namespace scoreKeeperKind

// Unit state words as the keepers read them.
inline bool isScoredDeathState(u32 state) {
    return (state >= 3 && state <= 8) || state == 22;
}
// Deaths that cost a life: 3 to 8 (22 does not).
inline bool isLifeCostingState(u32 state) {
    return state >= 3 && state <= 8;
}
// The unit has left the level.
inline bool isEndState(u32 state) {
    return state == 12 || state == 17 || state == 18;
}

// Watches the players' units once per simulation tick and keeps one scored
// value (per player, or for the game). Updated and serialised on the thread
// that steps the simulation.
class ScoreKeeper {
public:
    explicit ScoreKeeper(u8 kind) : kind_(kind) {}
    virtual ~ScoreKeeper() = default;
    ScoreKeeper(const ScoreKeeper&) = delete;
    ScoreKeeper& operator=(const ScoreKeeper&) = delete;

    // Once per simulation tick.
    virtual void update() = 0;
    // Appends exactly this keeper's section of the score block.
    virtual void serialize(Convinience::Buffer& buffer) const = 0;

    u8 kind() const { return kind_; }

private:
    u8 kind_;
};

// A keeper whose rows follow the clients of the game.
class MultiplayerScoreKeeper : public ScoreKeeper, public Convinience::MultiClientCreator {
public:
    using ScoreKeeper::ScoreKeeper;
};

}  // namespace Zarn
