#pragma once

#include "foundation/Interfaces.h"
#include "map/import/CameraRegionImporter.h"
#include "map/import/DialogImporter.h"
#include "map/import/GameMap.h"
#include "map/import/GenericMapElementFactory.h"
#include "map/import/GridMapImporter.h"
#include "map/import/MapElementsImporter.h"
#include "map/import/MapEventDataImporter.h"
#include "map/import/SequencedMapImporter.h"
#include "map/import/TrapElementImporter.h"
#include "map/import/ZOrderImporter.h"

namespace Zarn {

// Reads a whole map file into a GameMap. The file is its sections in this
// fixed order, with no magic number, version or section table:
//
// | order | section        | framing |
// | 1     | map header     | u32 byte length, then that many bytes (MapHeader) |
// | 2     | grid           | u32 byte length, then that many bytes (GridMapImporter) |
// | 3     | traps          | 8-byte header (two u32 counts), then the records, each u32 length + bytes |
// | 4     | map events     | u32 event count, then each event (MapEventData's byte form) |
// | 5     | map elements   | u32 count, then each record as u32 length + bytes |
// | 6     | dialogs        | u32 byte length, u32 entry count, then that many bytes |
// | 7     | z-order        | u32 count, then each record as u32 length + bytes |
// | 8     | camera regions | u32 byte length, then that many bytes |
//
// A missing, truncated or unreadable header throws "bad map header"; a
// truncated or lying later section throws "bad map" (or the text of an
// unknown record ID). A file may end after any whole section: the sections
// after it stay empty. A throw aborts the load; what was read before it stays.
class MapComponentsImporter : public Convinience::StreamImporter {
public:
    // The map outlives the importer.
    explicit MapComponentsImporter(GameMap& map);

    void import(std::istream& stream) override;

    GenericMapElementFactory& elementFactory() { return elementFactory_; }

private:
    void importHeader(std::istream& stream);

    GameMap& map_;
    GenericMapElementFactory elementFactory_;
    GridMapImporter grid_;
    TrapElementImporter traps_;
    MapEventDataImporter events_;
    MapElementsImporter elements_;
    DialogImporter dialogs_;
    SequencedMapImporter sections_;
    CameraRegionImporter cameraRegions_;
    ZOrderImporter zOrders_;
};

}  // namespace Zarn
