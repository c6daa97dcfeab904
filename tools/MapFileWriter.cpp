#include "tools/MapFileWriter.h"

#include <algorithm>

#include "foundation/Buffer.h"
#include "map/import/GameMap.h"
#include "map/records/SectionHeaders.h"

namespace Zarn {

using Convinience::Buffer;

namespace {

template <class Record>
void appendFramed(Buffer& out, const Record& record) {
    const std::vector<u8> bytes = record.toBytes();
    out.appendU32(static_cast<u32>(bytes.size()));
    out.append(bytes.data(), static_cast<u32>(bytes.size()));
}

void appendLengthPrefixed(Buffer& out, const Buffer& body) {
    out.appendU32(body.size());
    out.append(body.bytes().data(), body.size());
}

template <class Record>
std::vector<std::unique_ptr<Record>> cloneAll(const std::vector<std::unique_ptr<Record>>& records) {
    std::vector<std::unique_ptr<Record>> copies;
    copies.reserve(records.size());
    for (const auto& r : records) copies.push_back(r->clone());
    return copies;
}

}  // namespace

MapContents::MapContents(const MapContents& other)
    : header(other.header),
      properties(other.properties),
      tiles(other.tiles),
      maximalRectangles(other.maximalRectangles),
      traps(cloneAll(other.traps)),
      trapGroups(cloneAll(other.trapGroups)),
      events(other.events),
      elements(cloneAll(other.elements)),
      dialogs(other.dialogs),
      zOrders(other.zOrders),
      cameraRegions(other.cameraRegions) {}

MapContents& MapContents::operator=(const MapContents& other) {
    if (this != &other) *this = MapContents(other);
    return *this;
}

std::vector<u8> writeMapSection(const MapContents& contents, MapSection section) {
    Buffer out;
    switch (section) {
        case MapSection::header:
            appendFramed(out, contents.header);
            break;
        case MapSection::grid: {
            Buffer body;
            contents.properties.serialize(body);
            body.append(contents.tiles.data(), static_cast<u32>(contents.tiles.size()));
            MaximalRectangleHeader(0, static_cast<u32>(contents.maximalRectangles.size())).serialize(body);
            for (const GeometryLib::Rect& r : contents.maximalRectangles) r.serialize(body);
            appendLengthPrefixed(out, body);
            break;
        }
        case MapSection::traps:
            TrapElementMapHeader(static_cast<u32>(contents.traps.size()),
                                 static_cast<u32>(contents.trapGroups.size()))
                .serialize(out);
            for (const auto& t : contents.traps) appendFramed(out, *t);
            for (const auto& g : contents.trapGroups) appendFramed(out, *g);
            break;
        case MapSection::events:
            out.appendU32(static_cast<u32>(contents.events.size()));
            for (const MapEventData& e : contents.events) e.serialize(out);
            break;
        case MapSection::elements:
            MapElementsHeader(static_cast<u32>(contents.elements.size())).serialize(out);
            for (const auto& e : contents.elements) appendFramed(out, *e);
            break;
        case MapSection::dialogs: {
            Buffer body;
            for (const DialogEntry& d : contents.dialogs) d.serialize(body);
            out.appendU32(body.size());
            out.appendU32(static_cast<u32>(contents.dialogs.size()));
            out.append(body.bytes().data(), body.size());
            break;
        }
        case MapSection::zOrders:
            out.appendU32(static_cast<u32>(contents.zOrders.size()));
            for (const ZOrder& z : contents.zOrders) z.serialize(out);
            break;
        case MapSection::cameraRegions: {
            const CameraRegions& regions = contents.cameraRegions;
            Buffer body;
            body.appendU32(static_cast<u32>(regions.regions.size()));
            for (std::size_t i = 0; i < regions.regions.size(); ++i) {
                regions.regions[i].serialize(body);
                const std::vector<TransitionRegion> none;
                const auto& transitions = i < regions.transitions.size() ? regions.transitions[i] : none;
                body.appendU32(static_cast<u32>(transitions.size()));
                for (const TransitionRegion& t : transitions) t.serialize(body);
            }
            appendLengthPrefixed(out, body);
            break;
        }
    }
    return out.takeBytes();
}

std::vector<u8> writeMapFile(const MapContents& contents, MapSection last) {
    std::vector<u8> out;
    for (int s = 0; s <= static_cast<int>(last); ++s) {
        const std::vector<u8> bytes = writeMapSection(contents, static_cast<MapSection>(s));
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

MapContents contentsOf(const GameMap& map) {
    MapContents contents;
    contents.header = map.header;
    contents.properties = map.grid.getProperties();
    const u32 columns = map.grid.getColumns();
    const u32 rows = map.grid.getRows();
    contents.tiles.assign(static_cast<std::size_t>(columns) * rows, 0);
    for (u32 y = 0; y < rows; ++y) {
        for (u32 x = 0; x < columns; ++x) {
            const u8 status = map.grid.cellData()[static_cast<std::size_t>(x) * rows + y];
            contents.tiles[static_cast<std::size_t>(y) * columns + x] = status != 0 ? 1 : 0;
        }
    }
    contents.maximalRectangles = map.maximalRectangles;
    contents.traps = cloneAll(map.trapRecords);
    contents.trapGroups = cloneAll(map.trapGroupRecords);
    for (const auto& e : map.mapEvents) contents.events.push_back(*e);
    contents.elements = cloneAll(map.mapElements);
    for (const auto& [number, entry] : map.dialogs) contents.dialogs.push_back(entry);
    std::sort(contents.dialogs.begin(), contents.dialogs.end(),
              [](const DialogEntry& a, const DialogEntry& b) { return a.number < b.number; });
    contents.zOrders = map.zOrders;
    contents.cameraRegions = map.cameraRegions;
    return contents;
}

}  // namespace Zarn
