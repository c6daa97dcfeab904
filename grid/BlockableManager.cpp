#include "grid/BlockableManager.h"

#include <algorithm>
#include <cmath>

#include "grid/CellGrid.h"

namespace Zarn {

BlockableManager::BlockableManager(const CellGrid& grid) : grid_(&grid) {}

// Registered blockables that the manager does not own may already be gone;
// only the owned ones are destroyed, without touching the indexes.
BlockableManager::~BlockableManager() = default;

void BlockableManager::addBlockable(Blockable& blockable) {
    const std::vector<GeometryLib::Point> cells = blockable.coveredCells();
    std::vector<GeometryLib::Point>& own = blockableIndex_[&blockable];
    for (const GeometryLib::Point& cell : cells) {
        std::vector<Blockable*>& inCell = cellIndex_[cell];
        if (std::find(inCell.begin(), inCell.end(), &blockable) == inCell.end()) inCell.push_back(&blockable);
        if (std::find(own.begin(), own.end(), cell) == own.end()) own.push_back(cell);
    }
}

void BlockableManager::removeBlockable(Blockable& blockable) {
    const auto entry = blockableIndex_.find(&blockable);
    if (entry == blockableIndex_.end()) return;
    for (const GeometryLib::Point& cell : entry->second) {
        const auto inCell = cellIndex_.find(cell);
        if (inCell == cellIndex_.end()) continue;
        std::vector<Blockable*>& set = inCell->second;
        set.erase(std::remove(set.begin(), set.end(), &blockable), set.end());
        if (set.empty()) cellIndex_.erase(inCell);
    }
    blockableIndex_.erase(entry);
}

void BlockableManager::updateBlockable(Blockable& blockable) {
    const auto entry = blockableIndex_.find(&blockable);
    if (entry == blockableIndex_.end()) {
        addBlockable(blockable);
        return;
    }
    // Cells that stay keep the blockable where it was among the others of the
    // cell; it leaves the cells it no longer covers and joins new ones last.
    const std::vector<GeometryLib::Point> cells = blockable.coveredCells();
    std::vector<GeometryLib::Point>& own = entry->second;
    for (const GeometryLib::Point& cell : own) {
        if (std::find(cells.begin(), cells.end(), cell) != cells.end()) continue;
        const auto inCell = cellIndex_.find(cell);
        if (inCell == cellIndex_.end()) continue;
        std::vector<Blockable*>& set = inCell->second;
        set.erase(std::remove(set.begin(), set.end(), &blockable), set.end());
        if (set.empty()) cellIndex_.erase(inCell);
    }
    std::vector<GeometryLib::Point> kept;
    for (const GeometryLib::Point& cell : cells) {
        if (std::find(kept.begin(), kept.end(), cell) != kept.end()) continue;
        kept.push_back(cell);
        std::vector<Blockable*>& inCell = cellIndex_[cell];
        if (std::find(inCell.begin(), inCell.end(), &blockable) == inCell.end()) inCell.push_back(&blockable);
    }
    own = std::move(kept);
}

Blockable* BlockableManager::blockerAt(const GeometryLib::FPoint& point) const {
    // Positions too far out for a 32-bit truncation hold no blockable.
    if (!(std::fabs(point.x) < 2147483520.0f && std::fabs(point.y) < 2147483520.0f)) return nullptr;
    const auto entry = cellIndex_.find(grid_->toCell(GeometryLib::Point(point)));
    if (entry == cellIndex_.end()) return nullptr;
    // A copy: a contains() that re-registers blockables must not pull the set away.
    const std::vector<Blockable*> set = entry->second;
    for (Blockable* blockable : set) {
        if (blockable->contains(point)) return blockable;
    }
    return nullptr;
}

void BlockableManager::adopt(std::unique_ptr<Blockable> blockable) {
    if (blockable) owned_.push_back(std::move(blockable));
}

std::vector<Blockable*> BlockableManager::blockablesInCell(const GeometryLib::Point& cell) const {
    const auto entry = cellIndex_.find(cell);
    return entry == cellIndex_.end() ? std::vector<Blockable*>{} : entry->second;
}

std::vector<GeometryLib::Point> BlockableManager::cellsOf(const Blockable& blockable) const {
    const auto entry = blockableIndex_.find(&blockable);
    return entry == blockableIndex_.end() ? std::vector<GeometryLib::Point>{} : entry->second;
}

}  // namespace Zarn
