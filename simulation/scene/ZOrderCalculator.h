#pragma once

#include <map>
#include <unordered_map>
#include <vector>

#include "foundation/Geometry.h"

namespace Zarn {

class CellGrid;

// Changes a player's drawing order while the player stands in certain cells
// (the rat trap's visual makes one). Owned by the element that made it, which
// outlives the calculator's use of it (both belong to one in-game scene).
class PlayerZOrderModifier {
public:
    explicit PlayerZOrderModifier(i32 key) : key_(key) {}
    virtual ~PlayerZOrderModifier() = default;

    // The z order to use for a player at playerPosition (map units) whose
    // order would otherwise be z; answering z leaves the decision to the next
    // modifier of the cell.
    virtual int apply(const GeometryLib::FPoint& playerPosition, int z) = 0;

    // Modifiers of one cell are asked in descending key order.
    i32 key() const { return key_; }
    // Cells (cell coordinates) in which the modifier is asked.
    std::vector<GeometryLib::Point> cells;

private:
    i32 key_;
};

// Turns map positions and grid rows into engine drawing orders. Rows count
// from the bottom of the room; a lower row is drawn in front. Floor and
// object bands (base) run from 0 to 500 x rows - 1, the high bands (players
// and what stands among them) from 1,000,000 up for rooms of at most 2000
// rows. Operations defined through another one call it virtually, so that a
// derived calculator that overrides a band changes everything built on it.
// One per in-game scene; main thread only.
class ZOrderCalculator {
public:
    // cellSize in map units (above 0), rows of the room's grid (a 16-bit
    // room has at most 65536). Throws Convinience::Error("invalid cell size")
    // for a cell size below 1. Positions are taken as 16-bit map units:
    // values outside that range are clamped into it.
    ZOrderCalculator(i32 cellSize, i32 rows);
    // On a room's grid: its cell size and row count.
    explicit ZOrderCalculator(const CellGrid& grid);
    virtual ~ZOrderCalculator() = default;

    virtual int rowMiddle(int row) const;
    virtual int yMiddle(float y) const;
    virtual int rowBase(int row) const;
    virtual int yBase(float y) const;
    virtual int rowTop(int row) const;
    virtual int yTop(float y) const;
    virtual int highRowMiddle(int row) const;
    virtual int highY(float y) const;
    virtual int highRowBase(int row) const;
    virtual int highYBase(float y) const;
    virtual int highRowTop(int row) const;
    virtual int highYTop(float y) const;
    // The drawing order of a player at p (map units), after the modifiers of
    // the player's cell.
    virtual int playerZOrder(const GeometryLib::FPoint& p) const;

    // Files m under each of its cells. Not owned.
    void addModifier(PlayerZOrderModifier* m);
    // Forgets m under every cell (its owner calls this before m goes).
    void removeModifier(const PlayerZOrderModifier* m);

    i32 cellSize() const { return cellSize_; }
    i32 rows() const { return rows_; }

    // The row that holds y: y / cellSize truncated towards zero.
    int rowOf(float y) const;
    // The position of y inside its cell, 0 to below 1.
    float frac(float y) const;

    // How far a position inside a row lowers the high bands: 2000 / 7.
    static constexpr float kRowSpread = 285.71429f;

private:
    int base(int row) const;
    int high(int row) const;
    // frac(y) x kRowSpread, truncated.
    int spread(float y) const;

    i32 cellSize_;
    i32 rows_;
    // Per cell, the modifiers by key; equal keys in insertion order.
    std::unordered_map<GeometryLib::Point, std::multimap<i32, PlayerZOrderModifier*>, GeometryLib::PointHash>
        modifiers_;
};

}  // namespace Zarn
