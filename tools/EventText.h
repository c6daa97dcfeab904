#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "map/records/ActionData.h"
#include "map/records/ActionDataFactory.h"
#include "map/records/TriggerData.h"

namespace Zarn {

// What trigger and action words need of the room: the cell size (cells become
// map units at their centre) and the cells of a picture symbol.
struct RoomPlaces {
    u32 cellSize = 64;
    // The cells of a symbol in reading order; empty for an unknown symbol.
    std::function<std::vector<GeometryLib::Point>(char)> cellsOf;
};

// The words of a map event's trigger, after "when" (count is the event's
// number of firings):
//
//   start                    when the level starts (kind 1)
//   at X Y | at S            a player enters the cell, or the one cell of symbol S (5)
//   area X1 Y1 X2 Y2 | area S   a player enters a cell of the block or of symbol S (20)
//   timer SECONDS            after the given time, again and again while count lasts (19)
//   trap-enabled N (6)   trap-disabled N (7)   dialog-played N (8)   dialog-closed N (9)
//   door-opened N (10)   door-closed N (11)    checkpoint N (12)     switch-on N (13)
//   switch-off N (14)    trap-hidden N (15)    trap-shown N (16)     killed-by N (17)
//   checkpoint-again N (18, a checkpoint reached again after a death)
//
// Cells are X columns from the left and Y rows from the bottom of the picture.
std::unique_ptr<TriggerData> parseTrigger(const std::vector<std::string>& words, u32 count,
                                          const RoomPlaces& places, int line);

// One action of a map event or of a lever, multi lever or note controller:
//
//   enable-trap N (0)        disable-trap N (1)       teleport P X Y (2: player P to cell X Y)
//   dialog N (4)             stop-dialog N (5)        waited-dialog N (6)    stop-waited-dialog N (7)
//   hide-trap N (8)          show-trap N (9)          open-door N (10)       close-door N (11)
//   switch-on N (12)         switch-off N (13)        dialogs-in-turn N,.. (14)  random-dialog N,.. (15)
//   after SECONDS ACTION (16)                         multi-switch-on L S (17)   multi-switch-off L S (18)
//   enable-event N (19)      disable-event N (20)     enable-events N,.. (21)    disable-events N,.. (22)
//   set-spawn P X Y (23)     enable-element N (24)    disable-element N (25)     show-element N (26)
//   hide-element N (27)      toggle-door N (28)       toggle-trap-visibility N (29)
//   toggle-trap N (30)       enable-traps N,.. (31)   disable-traps N,.. (32)    exit (37)
std::unique_ptr<ActionData> parseAction(const std::vector<std::string>& words, const RoomPlaces& places,
                                        int line);

// One step of a scripted figure's script:
//
//   dialog N (4)     walk X,Y X,Y .. (33: through the cell centres)     wait-contact (34)
//   wait-arrival X,Y .. (35: until a player stands on one of the cells)  wait SECONDS (36)
//   state N (38)
std::unique_ptr<ActionData> parseScriptStep(const std::vector<std::string>& words, const RoomPlaces& places,
                                            int line);

// Actions separated by ';' words, each read by `one`.
using ActionParser = std::unique_ptr<ActionData> (*)(const std::vector<std::string>&, const RoomPlaces&, int);
ActionList parseActionList(const std::vector<std::string>& words, const RoomPlaces& places, int line,
                           ActionParser one = &parseAction);

}  // namespace Zarn
