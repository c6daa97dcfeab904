#pragma once

#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "tools/MapFileWriter.h"
#include "tools/RoomText.h"

namespace Zarn {

// Turns a room source (the text form of a room, tools/RoomText.h) into the
// records of its map file. Throws RoomSourceError with the line of the first
// fault: an unknown word, a symbol without declaration, a number given twice,
// an action or trigger that names a trap, element, event or dialog the room
// does not have.
//
// Statements besides the grid and the symbol declarations:
//
//   event ID [count=N] [off] when TRIGGER do ACTION; ACTION ...
//   group N members=N,N.. [sequential] [step=S]      traps switched together (52)
//   sequence N members=N,N.. [delay=S] [step=S]      interval traps running one after another (53)
//   elements N members=N,N.. [sequential] [step=S] [id=141|142]   numbered elements switched together
//   levelup N anchor=X,Y goal=SYMBOL stages=N,N.. [start=S] [pause=S] [loop] [random]
//   dialog N SPEAKER "TEXT" [at=X,Y]                  a dialog; "&&" separates its lines
//   camera X Y W H                                     a camera region: lower-left cell X Y, W x H cells
//   zorder ID NAME A B
//   also SYMBOL X,Y ..                                 the symbol covers these cells too (a coin
//                                                      on a trap door, say)
//
// Symbols of trap kinds make one trap per cell unless the kind covers an area
// (bomb-dropper, trap-spawner, boss, rat-trap, arm) or the symbol says
// `whole`; their numbers count up from number= in reading order (top row
// first, each row left to right). group=N gathers the symbol's traps into
// trap group N.
MapContents compileRoom(const RoomText& room);
MapContents compileRoomSource(const std::string& source, const std::string& fallbackName);

// Every free rectangle of the grid that cannot grow in any direction, in cell
// units. tiles: one byte per cell, rows of increasing y, 1 solid.
std::vector<GeometryLib::Rect> maximalFreeRectangles(const std::vector<u8>& tiles, u32 columns, u32 rows);

}  // namespace Zarn
