#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "foundation/Geometry.h"
#include "grid/Blockable.h"

namespace Zarn {

class CellGrid;

// Indexes blockables by the grid cells they cover, so that obstacle avoidance
// can ask which blockable holds a point. Owns the blockables it adopts (one per
// solid cell); door blockables are only registered, their doors own them.
//
// The blockables of one cell are kept in the order they were added, so that
// blockerAt answers the same on every machine. Used by the thread that owns
// the world copy.
class BlockableManager : public BlockableUpdater {
public:
    // The grid belongs to the same loaded map and outlives the manager.
    explicit BlockableManager(const CellGrid& grid);
    ~BlockableManager() override;

    BlockableManager(const BlockableManager&) = delete;
    BlockableManager& operator=(const BlockableManager&) = delete;

    // Files the blockable under every cell of its coveredCells (a copy is taken).
    // The blockable must stay alive until it is removed or the manager dies.
    void addBlockable(Blockable& blockable);
    // Takes the blockable out of every cell it was filed under; a blockable that
    // was never added is ignored.
    void removeBlockable(Blockable& blockable);
    // Refiles the blockable after its covered cells changed, as removing and
    // adding it again would, except that in cells it still covers it keeps its
    // place among the other blockables (an unchanged blockable changes nothing).
    void updateBlockable(Blockable& blockable) override;
    // The first blockable, in the order added, filed under the cell of the point
    // that contains the point; null when none does.
    Blockable* blockerAt(const GeometryLib::FPoint& point) const;
    // Takes ownership; the caller adds the same blockable right before.
    void adopt(std::unique_ptr<Blockable> blockable);

    // The blockables filed under a cell (cell coordinates), in the order added.
    std::vector<Blockable*> blockablesInCell(const GeometryLib::Point& cell) const;
    // The cells recorded for a blockable; empty when it is not filed.
    std::vector<GeometryLib::Point> cellsOf(const Blockable& blockable) const;
    // Number of cells that have at least one blockable.
    std::size_t cellCount() const { return cellIndex_.size(); }

private:
    std::unordered_map<GeometryLib::Point, std::vector<Blockable*>, GeometryLib::PointHash> cellIndex_;
    std::unordered_map<const Blockable*, std::vector<GeometryLib::Point>> blockableIndex_;
    // Owned by the loaded map next to this manager, which it outlives.
    const CellGrid* grid_;
    std::vector<std::unique_ptr<Blockable>> owned_;
};

}  // namespace Zarn
