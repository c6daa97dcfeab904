#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "rooms/support/StepRunner.h"
#include "tools/SolutionScript.h"

namespace Zarn {
class SinglePlayerZarn;
}

namespace zarn_test {

// How a player's run went, from the states the server sent.
struct PlayerRun {
    bool exited = false;
    // The server tick at which the unit left the level (state 17).
    u32 exitTick = 0;
    u32 deaths = 0;
    // Where the unit was at the end of the run (map units).
    GeometryLib::FPoint lastPosition;
    std::vector<std::string> log;
};

struct PlayResult {
    std::vector<PlayerRun> players;
    u32 ticks = 0;
    // The server stopped answering (a broken world or a hang).
    bool stalled = false;

    bool everyoneExited() const;
    u32 totalDeaths() const;
    // The latest exit, in milliseconds of ticks (0.03 s each).
    u32 exitMilliseconds() const;
    std::string report() const;
};

// Plays the solution's player 0 through the single-play client (its server on
// a thread of its own) in lockstep: one client frame of one tick, then a wait
// until the server's state of that tick has come back. The server's clock is
// a manual one that never moves, so the server steps only when the client
// confirms a tick; the run is the same on every machine and every repetition.
// atEnd, when given, sees the client after the last tick (main thread; the
// client's world as the server's states left it).
PlayResult playAlone(const std::vector<u8>& mapBytes, const Zarn::Solution& solution, u32 tickLimit,
                     const std::function<void(Zarn::SinglePlayerZarn&)>& atEnd = {});

// Plays every player of the solution through client game cores of their own,
// connected to one server (on a thread of its own) by rings, in the same
// lockstep, until every player has left the level or finished its steps.
// Client i has the client ID i.
PlayResult playTogether(const std::vector<u8>& mapBytes, const Zarn::Solution& solution, u32 tickLimit);

}  // namespace zarn_test
