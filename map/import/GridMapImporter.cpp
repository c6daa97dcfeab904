#include "map/import/GridMapImporter.h"

#include <string>

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "grid/RectBlockable.h"
#include "map/import/MapStreamReader.h"
#include "map/records/MapErrors.h"
#include "map/records/SectionHeaders.h"

namespace Zarn {

void GridMapImporter::import(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    if (in.atEnd()) return;
    const std::vector<u8> bytes = in.readBytes(in.readU32());
    Convinience::ByteReader reader(bytes);
    try {
        properties_ = MapProperties(reader);
        const u32 width = properties_.width;
        const u32 height = properties_.height;
        const u32 cellSize = properties_.cellSize;
        logger_.log(Convinience::severity::info, "Map properties imported " + std::to_string(cellSize) + " " +
                                                     std::to_string(height) + " " + std::to_string(width));
        if (cellSize == 0) in.fail();
        if (width > maxExtent || height > maxExtent) in.fail();
        // One byte per cell side squared of the room's area, rounded down: a
        // room whose size is not a whole number of cells has a strip without
        // cells, and its rows are (width / cellSize) bytes apart, a stride
        // that need not be whole.
        const u64 tileCount = (u64{width} * height) / (u64{cellSize} * cellSize);
        if (tileCount > maxCells) in.fail();
        reader.require(tileCount);
        const u8* tiles = reader.current();

        grid_.setProperties(properties_);
        grid_.resize();
        grid_.forEachCell([&](const GeometryLib::Point& origin, TileStatus& status) {
            const u64 index =
                ((static_cast<u64>(origin.y) * width) / cellSize + static_cast<u64>(origin.x)) / cellSize;
            const bool solid = tiles[index] == 1;
            status = solid ? 1 : 0;
            if (solid && blockables_ != nullptr) {
                const float side = static_cast<float>(cellSize);
                auto blockable = std::make_unique<RectBlockable>(
                    grid_, blockables_, GeometryLib::FRect(side, side, GeometryLib::FPoint(origin)));
                blockables_->addBlockable(*blockable);
                blockables_->adopt(std::move(blockable));
            }
        });
        reader.skip(tileCount);
        logger_.log(Convinience::severity::info, "Grid imported size " + std::to_string(tileCount));

        if (rectangles_ != nullptr) {
            const MaximalRectangleHeader header(reader);
            if (header.count > reader.remaining() / 12) in.fail();
            rectangles_->clear();
            rectangles_->reserve(header.count);
            for (u32 i = 0; i < header.count; ++i) rectangles_->emplace_back(reader);
            logger_.log(Convinience::severity::info, "Maximal rectangle imported total " +
                                                         std::to_string(rectangles_->size()) + " rectangles");
        }
    } catch (const Convinience::ReadPastEndError&) {
        in.fail();
    }
    logger_.log(Convinience::severity::info, "Grid map imported");
}

}  // namespace Zarn
