#pragma once

#include <string>
#include <vector>

#include "foundation/Types.h"
#include "tools/SolutionScript.h"

namespace Zarn {
struct GameMap;
}

namespace zarn_test {

// The story levels and bonus challenges, in the level table's order (the
// first 27 are the story, the last 5 the bonus challenges).
const std::vector<std::string>& levelTableRooms();
// The co-op rooms of the multiplayer map list.
const std::vector<std::string>& coopRooms();
// Every shipped room: the level table's, "BlankRoom" and the co-op rooms.
std::vector<std::string> shippedRooms();

// The map file as the game reads it: "maps/NAME.map" through the engine's
// file lookup. Empty when it is missing.
std::vector<u8> shippedMap(const std::string& name);
// Reads a map file into the records of a game map (the section chain only).
void readRecords(const std::vector<u8>& bytes, Zarn::GameMap& map);
// The solution recorded beside the room's source (NAME.solution).
Zarn::Solution recordedSolution(const std::string& name);

}  // namespace zarn_test
