#pragma once

#include <vector>

#include "foundation/Geometry.h"

namespace Zarn {

class CellGrid;
class InteractiveMapElement;
class PositionIMETrigger;

// The cells of a room that can kill a unit standing in them, as the world's
// contact index holds them at one moment: for each cell whether a unit there
// is never, sometimes or always in danger. Moving props are not in the index
// and so never here. A value, made for one move request on the thread that
// owns the world.
class CellHazards {
public:
    enum class Danger : u8 {
        none = 0,
        // A running trap: lethal in some of its phases.
        sometimes = 1,
        // An open hole or pit, or a trap that something switched off while it
        // was lethal: lethal until something changes it.
        always = 2,
    };

    CellHazards() = default;
    CellHazards(u32 columns, u32 rows);

    // The danger of every cell of the grid from the elements filed in the
    // contact index; a cell takes the worst of its elements.
    static CellHazards read(const CellGrid& grid, const PositionIMETrigger& contacts);
    // The danger of one element filed under the cell: none unless its effect
    // can kill a unit in that cell; then always for an enabled floor tile,
    // sometimes for any other enabled element, and for a disabled element
    // always when it is an interval or scheduled trap whose record starts it
    // lethal (it stays so while disabled), none otherwise.
    static Danger dangerOf(const InteractiveMapElement& element, const GeometryLib::Point& cell);

    // none for cells outside the table.
    Danger at(i32 cx, i32 cy) const {
        if (cx < 0 || cy < 0 || static_cast<u32>(cx) >= columns_ || static_cast<u32>(cy) >= rows_)
            return Danger::none;
        return static_cast<Danger>(cells_[static_cast<std::size_t>(cx) * rows_ + static_cast<u32>(cy)]);
    }
    // Raises the cell's danger to `danger` when it is lower; cells outside are ignored.
    void raise(i32 cx, i32 cy, Danger danger);
    // Whether some cell is in danger, and whether some cell is in danger only sometimes.
    bool any() const { return !dangerous_.empty(); }
    bool anySometimes() const { return sometimes_ != 0; }
    // The cells in danger, in the order they were first raised.
    const std::vector<GeometryLib::Point>& dangerous() const { return dangerous_; }
    u32 columns() const { return columns_; }
    u32 rows() const { return rows_; }

private:
    // Column-major, as the cell grid keeps its cells.
    std::vector<u8> cells_;
    u32 columns_ = 0;
    u32 rows_ = 0;
    std::vector<GeometryLib::Point> dangerous_;
    std::size_t sometimes_ = 0;
};

}  // namespace Zarn
