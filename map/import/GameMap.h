#pragma once

#include <memory>
#include <vector>

#include "foundation/Geometry.h"
#include "map/import/CameraRegionImporter.h"
#include "map/import/DialogImporter.h"
#include "map/records/GroupedTrapElement.h"
#include "map/records/MapElement.h"
#include "map/records/MapEventData.h"
#include "map/records/MapHeader.h"
#include "map/records/TrapElement.h"
#include "map/records/ZOrder.h"
#include "grid/BlockableManager.h"
#include "grid/CellGrid.h"

namespace Zarn {

// One loaded room: what the map file's sections hold. One per client game core
// and per server; the records stay here for the whole game, and the live traps
// and elements keep pointers to them. Not copyable (the blockable manager
// points at the grid).
struct GameMap {
    GameMap() : blockables(grid) {}
    GameMap(const GameMap&) = delete;
    GameMap& operator=(const GameMap&) = delete;

    MapHeader header;
    // Properties 3 x 3 with cells of 1 until the grid section is read.
    CellGrid grid;
    std::vector<GeometryLib::Rect> maximalRectangles;
    // Built over grid; owns one blockable per solid cell and per solid decoration.
    BlockableManager blockables;
    // Trap records other than group records, in file order.
    std::vector<std::unique_ptr<TrapElement>> trapRecords;
    std::vector<std::unique_ptr<GroupedTrapElement>> trapGroupRecords;
    std::vector<std::unique_ptr<MapEventData>> mapEvents;
    std::vector<std::unique_ptr<MapElement>> mapElements;
    DialogTable dialogs;
    std::vector<ZOrder> zOrders;
    CameraRegions cameraRegions;
};

}  // namespace Zarn
