#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "map/import/CameraRegionImporter.h"
#include "map/records/DialogEntry.h"
#include "map/records/GroupedTrapElement.h"
#include "map/records/MapElement.h"
#include "map/records/MapEventData.h"
#include "map/records/MapHeader.h"
#include "map/records/TrapElement.h"
#include "map/records/ZOrder.h"
#include "tools/MapFileWriter.h"

namespace zarn_test {

// Writes map files for tests and fixtures: state a room in a few lines, get its
// bytes in the file format the importers read (every section, in order).
//
//   const std::vector<u8> bytes = MapBuilder("lab", {16, 16})
//       .grid(16, {"##..",
//                  "...."})
//       .trap(sample<IntervalTrapElement>(43))
//       .element(door)
//       .dialog("Hi&&there", "tali", 7, {64, 32})
//       .bytes();
//
// Records are copied when added; the map file writer of tools/ writes them
// with their own serialize and frames them as the sections do.
class MapBuilder {
public:
    // The sections a file can end after (bytesThrough).
    using Section = Zarn::MapSection;

    // Until grid() is called the room is 32 x 32 map units of four free 16-unit cells.
    explicit MapBuilder(std::string name = "test_map", GeometryLib::Point spawnPoint = GeometryLib::Point());

    // A grid from a picture: one string per row, row 0 first (the row of the
    // smallest y); '#' marks a solid cell, any other character a free one.
    MapBuilder& grid(u32 cellSize, const std::vector<std::string>& rows,
                     std::vector<GeometryLib::Rect> maximalRectangles = {});
    // A grid of the given size in map units with the given tile bytes (row by
    // row, as the grid section lays them out); free cells when tiles is empty.
    MapBuilder& grid(u32 width, u32 height, u32 cellSize, std::vector<u8> tiles = {},
                     std::vector<GeometryLib::Rect> maximalRectangles = {});

    MapBuilder& trap(const Zarn::TrapElement& record);
    MapBuilder& trapGroup(const Zarn::GroupedTrapElement& record);
    MapBuilder& event(const Zarn::MapEventData& event);
    MapBuilder& element(const Zarn::MapElement& record);
    MapBuilder& dialog(const Zarn::DialogEntry& entry);
    MapBuilder& dialog(std::string text, std::string speaker, u32 number, GeometryLib::Point position);
    MapBuilder& zOrder(const Zarn::ZOrder& zOrder);
    MapBuilder& cameraRegion(const GeometryLib::Rect& region,
                             std::vector<Zarn::TransitionRegion> transitions = {});
    MapBuilder& cameraRegions(const Zarn::CameraRegions& regions);

    // The whole file.
    std::vector<u8> bytes() const { return bytesThrough(Section::cameraRegions); }
    // The file up to and including the given section.
    std::vector<u8> bytesThrough(Section last) const;
    // The bytes of one section alone.
    std::vector<u8> sectionBytes(Section section) const;
    std::istringstream stream() const;
    // Writes the whole file.
    void writeFile(const std::string& path) const;
    // The records as they will be written.
    const Zarn::MapContents& contents() const { return contents_; }

private:
    Zarn::MapContents contents_;
};

// Little helpers for hand-made bytes in tests.
std::vector<u8> u32Bytes(std::initializer_list<u32> values);
void appendBytes(std::vector<u8>& to, const std::vector<u8>& bytes);

}  // namespace zarn_test
