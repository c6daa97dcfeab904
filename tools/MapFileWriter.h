#pragma once

#include <memory>
#include <vector>

#include "foundation/Geometry.h"
#include "grid/MapProperties.h"
#include "map/import/CameraRegionImporter.h"
#include "map/records/DialogEntry.h"
#include "map/records/GroupedTrapElement.h"
#include "map/records/MapElement.h"
#include "map/records/MapEventData.h"
#include "map/records/MapHeader.h"
#include "map/records/TrapElement.h"
#include "map/records/ZOrder.h"

namespace Zarn {

struct GameMap;

// Everything a map file holds, section by section, as the records of the map
// library. The room compiler fills one and writes it; tests build their rooms
// in one (through their map builder) and read shipped maps back into one.
struct MapContents {
    MapContents() = default;
    MapContents(const MapContents& other);
    MapContents& operator=(const MapContents& other);
    MapContents(MapContents&&) = default;
    MapContents& operator=(MapContents&&) = default;

    MapHeader header;
    // Room size and cell size in map units.
    MapProperties properties{32, 32, 16};
    // One byte per cell, rows of increasing y, each of increasing x; 1 solid.
    std::vector<u8> tiles = std::vector<u8>(4, 0);
    // Free rectangles of the room in cell units.
    std::vector<GeometryLib::Rect> maximalRectangles;
    std::vector<std::unique_ptr<TrapElement>> traps;
    std::vector<std::unique_ptr<GroupedTrapElement>> trapGroups;
    std::vector<MapEventData> events;
    std::vector<std::unique_ptr<MapElement>> elements;
    std::vector<DialogEntry> dialogs;
    std::vector<ZOrder> zOrders;
    CameraRegions cameraRegions;
};

// The sections of a map file, in file order.
enum class MapSection { header, grid, traps, events, elements, dialogs, zOrders, cameraRegions };

// The bytes of one section, framed as the map importers read it (the table in
// map/import/MapComponentsImporter.h): records are written by their own
// serialize, in the order the contents hold them.
std::vector<u8> writeMapSection(const MapContents& contents, MapSection section);
// The file from the header up to and including `last`.
std::vector<u8> writeMapFile(const MapContents& contents, MapSection last = MapSection::cameraRegions);

// Copies of the records of a loaded map; the tiles are taken from its grid
// (1 for every blocking cell) and the dialogs in ascending number.
MapContents contentsOf(const GameMap& map);

}  // namespace Zarn
