#pragma once

#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Types.h"

namespace Zarn {
struct GameMap;
}

// Cells that matter to the player without a picture of their own in the map:
// the plates that hold an automatic door open (its sensor cells), the goals of
// a stage run (the level-up mode's area) and the cells that teleport whoever
// steps on them (a map event on entering a cell or an area whose actions move
// a player).
enum class KeyCellKind : u8 { plate, goal, teleport };

struct KeyCell {
    GeometryLib::Point cell;
    KeyCellKind kind = KeyCellKind::plate;
};

// Every key cell of the map, each cell once (a plate before a goal before a
// teleport), in the order found: elements in file order, then events.
std::vector<KeyCell> keyCells(const Zarn::GameMap& map);

// "key_plate.png", "key_goal.png" or "key_teleport.png".
const std::string& keyCellFrame(KeyCellKind kind);
std::vector<std::string> keyCellFrames();
