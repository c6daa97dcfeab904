#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "tools/EventText.h"
#include "tools/MapFileWriter.h"
#include "tools/RoomText.h"

namespace Zarn {

// The room being compiled: the records made so far and the bookkeeping that
// the symbol kinds and the statements share. Cells are (column, row) with row
// 0 at the bottom of the picture.
struct RoomBuild {
    MapContents contents;
    u32 cellSize = 64;
    u32 art = 1;
    u32 columns = 0;
    u32 rows = 0;
    RoomPlaces places;

    // Cells whose floor tile a symbol replaced (or removed: holes show none).
    std::set<u32> floorTaken;
    std::optional<GeometryLib::Point> spawn;
    std::set<u32> trapNumbers;
    std::set<u32> elementNumbers;
    std::set<u32> eventIds;
    std::set<u32> dialogNumbers;
    // Trap groups declared on symbols (group=N): their members in order.
    std::map<u32, std::vector<u32>> symbolGroups;
    // Event IDs the exits use.
    u32 nextExitEvent = 900;
    // The source line of each record that names others ("event 3", "lever 40",
    // "trap group 20"...), for the cross-reference checks' messages.
    std::map<std::string, int> lines;

    // The centre of a cell, and its lower-left corner, in map units.
    GeometryLib::Point centre(const GeometryLib::Point& cell) const;
    GeometryLib::Point corner(const GeometryLib::Point& cell) const;

    // Numbers are unique among traps and groups, and among elements.
    void claimTrapNumber(u32 number, int line);
    void claimElementNumber(u32 number, int line);
    void claimEventId(u32 id, int line);
    // The lowest trap or element number from `from` on that nothing holds.
    u32 freeTrapNumber(u32 from = 1) const;
    u32 freeElementNumber(u32 from = 500) const;
};

// Adds the records of one symbol declaration, placed on the given cells
// (reading order: top row first, each row left to right).
void addSymbolRecords(RoomBuild& build, const SymbolDeclaration& symbol,
                      const std::vector<GeometryLib::Point>& cells);

// Throws RoomSourceError when an action, trigger, group, boss or melody of the
// room names a number that nothing of the right kind holds.
void checkRoomReferences(const RoomBuild& build);

}  // namespace Zarn
