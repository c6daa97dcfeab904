#include "map/import/MapComponentsImporter.h"

#include "foundation/ByteReader.h"
#include "map/import/MapStreamReader.h"
#include "map/records/MapErrors.h"

namespace Zarn {

MapComponentsImporter::MapComponentsImporter(GameMap& map)
    : map_(map),
      elementFactory_(map.grid),
      grid_(map.grid, &map.maximalRectangles, &map.blockables),
      traps_(map.trapRecords, map.trapGroupRecords),
      events_(map.mapEvents),
      elements_(elementFactory_, map.mapElements),
      dialogs_(map.dialogs),
      cameraRegions_(map.cameraRegions),
      zOrders_(map.zOrders) {
    elementFactory_.setBlockableManager(&map.blockables);
    sections_.add(grid_);
    sections_.add(traps_);
    sections_.add(events_);
    sections_.add(elements_);
    sections_.add(dialogs_);
    sections_.add(zOrders_);
    sections_.add(cameraRegions_);
}

void MapComponentsImporter::import(std::istream& stream) {
    importHeader(stream);
    sections_.import(stream);
}

void MapComponentsImporter::importHeader(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMapHeader);
    if (in.atEnd()) in.fail();
    const std::vector<u8> bytes = in.readBytes(in.readU32());
    Convinience::ByteReader reader(bytes);
    try {
        const MapHeader header(reader);
        map_.header.name = header.name;
        map_.header.spawnPoint = header.spawnPoint;
    } catch (const Convinience::ReadPastEndError&) {
        in.fail();
    }
}

}  // namespace Zarn
