#pragma once

#include <string>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

// One step of a recorded solution. Cells are X columns from the left and Y
// rows from the bottom of the room's picture; fractions move off the centre.
struct SolutionStep {
    enum class Kind {
        go,       // go X Y: walk toward the cell's centre; the next step starts at once
        move,     // move X Y: walk to the cell's centre; the next step starts on arrival
        reach,    // reach X Y: wait until the rat stands in the cell (carried there, say)
        wait,     // wait SECONDS: stand still for that long
        until,    // until SECONDS: wait until that time after the level's start
        dismiss,  // dismiss: close the dialog that holds everybody still
    };
    Kind kind = Kind::wait;
    float x = 0.0f;
    float y = 0.0f;
    float seconds = 0.0f;
    int line = 0;
};

// A room's recorded solution, the file NAME.solution beside NAME.room:
//
//   # comments run to the end of the line
//   medal silver      the time the room needs: gold (the default) or silver
//   player 1          the steps below are player 1's (co-op rooms; player 0 first)
//   move 3 2
//   until 1.5
//   move 12 2
struct Solution {
    enum class Medal { gold, silver };
    Medal medal = Medal::gold;
    // The steps of player 0, 1, ...
    std::vector<std::vector<SolutionStep>> players;
};

// Throws RoomSourceError (tools/RoomText.h) with the line of the first fault.
Solution parseSolution(const std::string& text);

}  // namespace Zarn
