#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "foundation/Types.h"

namespace Zarn {

// The rotation value that asks for a random quarter turn (tile elements only).
inline constexpr i32 kRandomQuarterTurn = 2147483647;

// How one element type is shown: the frame, whether the picture changes while
// the level runs, whether it stands up as an obstacle (walls, doors,
// furniture), its rotation, mirroring and opacity, its depth band (`layer`,
// 0 to 5, see zOrderOfLayer) and the z offset added to the band.
struct ElementVisual {
    u32 elementId = 0;
    // Empty: the element has no picture.
    std::string frameName;
    bool dynamic = false;
    bool obstacle = false;
    // Degrees; kRandomQuarterTurn draws one of 0, 90, 180, 270.
    i32 rotation = 0;
    bool flippedX = false;
    bool flippedY = false;
    // 0 to 255 (only the low byte is applied).
    u32 opacity = 255;
    u32 layer = 1;
    i32 zOffset = 0;

    // Not a floor tile of its cell: what changes while the level runs and what
    // stands up (walls, doors, furniture). The placement registers only floor
    // tiles among the cell's tile visuals (which the traps and pads hide and
    // show), and gives an excluded picture a rotation only when it is not 0.
    bool excludedFromTiles() const { return dynamic || obstacle; }
};

// One table of element visuals, ordered by element ID, one row per ID.
class ElementVisualTable {
public:
    using Rows = std::map<u32, ElementVisual>;

    explicit ElementVisualTable(Rows rows) : rows_(std::move(rows)) {}

    // The row of the ID, or null.
    const ElementVisual* find(u32 elementId) const;
    // 1 when the table holds the ID, else 0.
    std::size_t count(u32 elementId) const { return rows_.count(elementId); }
    std::size_t size() const { return rows_.size(); }
    Rows::const_iterator begin() const { return rows_.begin(); }
    Rows::const_iterator end() const { return rows_.end(); }

private:
    Rows rows_;
};

// The two tables, built on first use from the element ID sets of
// map/records/ElementIds.h: the tile table has one row per ID of
// tileElementIds (66), the free table one per ID of freeElementIds (101).
// Read-only once built; any thread may read them.
//
// Tile rows (all opacity 255; unnamed columns: not dynamic, no obstacle,
// rotation 0, unmirrored, layer 1, z offset 0):
// | IDs                | frame                          | differences |
// | 31 to 34           | conveyor_arrows.png            | dynamic; rotation 0, 90, 180, 270 |
// | 140                | conveyor_arrows.png            | dynamic; z offset 2 |
// | 42, 440 to 442     | checkpoint_t.png               | dynamic; z offset 2 |
// | 54, 137            | "floor_hole.png", "floor_pit.png" | dynamic |
// | 139, 138           | "floor_hole_off.png", "floor_pit_off.png" | dynamic; the hole once enabled |
// | 379 / 383          | musical_note_0.png / _2.png    | dynamic; layer 2 |
// | 29, 148 to 153     | the floors                     | random quarter turn |
// | 434 to 439, 444/445| entrance and exit floors       | |
// | 155 to 158         | the four walls                 | obstacle; layer 2; z offset -10 |
// | 402 to 433         | wall pieces, 8 per art set     | obstacle; layer 2, z -10 (ends: 4, 10); some
// mirrored |
//
// Free rows (unnamed columns: obstacle, layer 4, z offset 0; a mirrored twin
// a / b has flippedX on b): levers, doors, automatic doors, the coin
// (dynamic), windows, cameras, monitors, cups, plants, signs, the roomba, the
// drone, the cats, PART, the conveyor machine's arm base and the furniture;
// ElementVisualTables.cpp lists each row.
const ElementVisualTable& tileVisualTable();
const ElementVisualTable& freeVisualTable();

}  // namespace Zarn
