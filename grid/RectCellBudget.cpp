#include "grid/RectCellBudget.h"

#include "grid/CellGrid.h"

namespace Zarn {

bool RectCellBudget::take(u32 width, u32 height) {
    const MapProperties& room = grid_.getProperties();
    if (width > room.width || height > room.height || room.cellSize == 0) return false;
    used_ += (u64{width} / room.cellSize + 2) * (u64{height} / room.cellSize + 2);
    const u64 gridCells = u64{grid_.getColumns()} * grid_.getRows();
    return used_ <= kCellsPerGridCell * (gridCells + 1);
}

}  // namespace Zarn
