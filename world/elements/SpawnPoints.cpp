#include "world/elements/SpawnPoints.h"

#include "map/records/MapElement.h"
#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

InteractiveMapElement* SpawnPoints::findCheckpoint(u32 handle) const {
    auto it = checkpoints_.find(handle);
    return it == checkpoints_.end() ? nullptr : it->second;
}

GeometryLib::Point SpawnPoints::spawnPointFor(u32 handle) {
    InteractiveMapElement* checkpoint = findCheckpoint(handle);
    if (!checkpoint) checkpoint = defaultCheckpoint_;
    if (checkpoint) {
        if (const auto* tile = dynamic_cast<const WholeTileMapElement*>(checkpoint->record))
            return tile->cell;
    }
    return spawnCellFor(handle);
}

GeometryLib::Point SpawnPoints::spawnCellFor(u32 handle) {
    return spawnCells_.try_emplace(handle, defaultSpawnCell_).first->second;
}

bool SpawnPoints::isReached(u32 handle) const {
    auto it = reached_.find(handle);
    return it != reached_.end() && it->second;
}

}  // namespace Zarn
