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
// Symbol kinds (a symbol declaration "X: KIND key=value flag ..."). Times are
// seconds, positions cells X,Y.
//
//   Traps; every one takes number= lethal hidden z= link= group=N whole each
//   anchor=X,Y id=N, and the interval ones delay= on= off= (start delay,
//   deadly phase, rest):
//     trapdoor (43)  panel-trapdoor (356, panel=)  sticky-trapdoor (44)
//     stop-trapdoor (45)  bombable-trapdoor (134)  spikes (127)  red-light (56)
//     delayed-spikes (46, warn=)  bomb (128)  arm (132, mirrored: 136, warn=)
//     rat-trap (49, snap= hold= release= slow= factor=)  vortex (55, radius=
//     inner= outer=)  cannon (131, length=)  bomb-dropper (129)  trap-spawner
//     (130, kinds=interval,delayed,radial min= max=)  scheduled-trapdoor
//     (121) and scheduled-spikes (122) (loop delay= lead= plan="T KIND D; .."
//     with KIND off-on, on, toggle or hold)  boss (133, phases= health= idle=
//     bomb-time= spawner-time= large-time= cannon-time= arm-time= bomb= small=
//     large= cannons= arms=A,B cell-a= cell-b=)  trap (id= any other)
//   Floors: hole (54)  pit (137)  hole-off (139) and pit-off (138), numbered
//     and harmless until enabled  conveyor (31-34, dir=)  belt (140, dir=
//     speed= number=)  tile (id=, a picture only)
//   Elements: spawn  exit (event= off)  checkpoint (variant=1..4: 42, 440-442)
//     lever (35), multi-lever (59, switches=), selective-lever (135,
//     switches= selected=), each with off first="ACTIONS" second="ACTIONS"
//     door (36, side: 37)  auto-door (164-167 by art, id=, sensors=SYMBOLS)
//     coin (348, value= radius=)  roomba (300)  drone (301), scripted-roomba
//     (302) and figure (358), each with radius= loop script="STEPS"  note
//     (383, note=)  note-controller (379, interval= melody=N,N/N,N done=
//     second=)  deco (id=, a picture at the cell's centre)  solid-deco (id=,
//     a blocking picture over the symbol's cells)  zone (nothing; marks
//     cells for triggers, sensors and goals)
//
// Symbols of trap kinds make one trap per cell unless the kind covers an area
// (bomb-dropper, trap-spawner, boss, rat-trap, arm) or the symbol says
// `whole`; numbers count up from number= in reading order (top row first,
// each row left to right). group=N gathers the symbol's traps into trap group
// N. Elements that are numbered count up the same way.
MapContents compileRoom(const RoomText& room);
MapContents compileRoomSource(const std::string& source, const std::string& fallbackName);

// Every free rectangle of the grid that cannot grow in any direction, in cell
// units. tiles: one byte per cell, rows of increasing y, 1 solid.
std::vector<GeometryLib::Rect> maximalFreeRectangles(const std::vector<u8>& tiles, u32 columns, u32 rows);

}  // namespace Zarn
