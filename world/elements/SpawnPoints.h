#pragma once

#include <unordered_map>

#include "foundation/Geometry.h"

namespace Zarn {

class InteractiveMapElement;

// Where units respawn, by unit handle (a player's client ID): the checkpoint
// the unit reached last, else the default checkpoint, else the unit's spawn
// cell (given the map's spawn cell on first use). Checkpoints are elements
// built from whole-tile records; the record's cell is the respawn cell. The
// checkpoints are owned by the world's element list and outlive this table.
// One per world copy; used by the thread that owns the world.
class SpawnPoints {
public:
    // The checkpoint recorded for the unit, or null.
    InteractiveMapElement* findCheckpoint(u32 handle) const;
    // The recorded checkpoint's cell; else the default checkpoint's; else spawnCellFor.
    GeometryLib::Point spawnPointFor(u32 handle);
    // The unit's explicit spawn cell; a unit without one is given the default
    // spawn cell first (kept from then on).
    GeometryLib::Point spawnCellFor(u32 handle);
    void setCheckpoint(u32 handle, InteractiveMapElement* checkpoint) { checkpoints_[handle] = checkpoint; }
    void setDefaultCheckpoint(InteractiveMapElement* checkpoint) { defaultCheckpoint_ = checkpoint; }
    InteractiveMapElement* defaultCheckpoint() const { return defaultCheckpoint_; }
    void setSpawnPoint(u32 handle, const GeometryLib::Point& cell) { spawnCells_[handle] = cell; }
    // The map's spawn cell, in cell coordinates.
    void setDefaultSpawnCell(const GeometryLib::Point& cell) { defaultSpawnCell_ = cell; }
    const GeometryLib::Point& defaultSpawnCell() const { return defaultSpawnCell_; }

    // reached[handle] := true.
    void markReached(u32 handle) { reached_[handle] = true; }
    // reached[handle] := false; a kill does this, so the next checkpoint counts as newly reached.
    void markUnreached(u32 handle) { reached_[handle] = false; }
    bool hasReachedEntry(u32 handle) const { return reached_.count(handle) != 0; }
    // The entry of the handle; false when it has none.
    bool isReached(u32 handle) const;

private:
    std::unordered_map<u32, InteractiveMapElement*> checkpoints_;
    std::unordered_map<u32, bool> reached_;
    InteractiveMapElement* defaultCheckpoint_ = nullptr;
    std::unordered_map<u32, GeometryLib::Point> spawnCells_;
    GeometryLib::Point defaultSpawnCell_;
};

}  // namespace Zarn
