#include "support/map/MapBuilder.h"

#include <fstream>
#include <stdexcept>

#include "foundation/Buffer.h"

namespace zarn_test {

using Convinience::Buffer;

MapBuilder::MapBuilder(std::string name, GeometryLib::Point spawnPoint) {
    contents_.header = Zarn::MapHeader(std::move(name), spawnPoint);
    grid(32, 32, 16);
}

MapBuilder& MapBuilder::grid(u32 cellSize, const std::vector<std::string>& rows,
                             std::vector<GeometryLib::Rect> maximalRectangles) {
    const std::size_t columns = rows.empty() ? 0 : rows.front().size();
    std::vector<u8> tiles;
    for (const std::string& row : rows) {
        if (row.size() != columns) throw std::invalid_argument("grid rows differ in length");
        for (char c : row) tiles.push_back(c == '#' ? 1 : 0);
    }
    return grid(static_cast<u32>(columns) * cellSize, static_cast<u32>(rows.size()) * cellSize, cellSize,
                std::move(tiles), std::move(maximalRectangles));
}

MapBuilder& MapBuilder::grid(u32 width, u32 height, u32 cellSize, std::vector<u8> tiles,
                             std::vector<GeometryLib::Rect> maximalRectangles) {
    contents_.properties = Zarn::MapProperties(width, height, cellSize);
    if (tiles.empty() && cellSize != 0)
        tiles.assign(static_cast<std::size_t>((u64{width} * height) / (u64{cellSize} * cellSize)), 0);
    contents_.tiles = std::move(tiles);
    contents_.maximalRectangles = std::move(maximalRectangles);
    return *this;
}

MapBuilder& MapBuilder::trap(const Zarn::TrapElement& record) {
    contents_.traps.push_back(record.clone());
    return *this;
}

MapBuilder& MapBuilder::trapGroup(const Zarn::GroupedTrapElement& record) {
    contents_.trapGroups.push_back(record.clone());
    return *this;
}

MapBuilder& MapBuilder::event(const Zarn::MapEventData& event) {
    contents_.events.push_back(event);
    return *this;
}

MapBuilder& MapBuilder::element(const Zarn::MapElement& record) {
    contents_.elements.push_back(record.clone());
    return *this;
}

MapBuilder& MapBuilder::dialog(const Zarn::DialogEntry& entry) {
    contents_.dialogs.push_back(entry);
    return *this;
}

MapBuilder& MapBuilder::dialog(std::string text, std::string speaker, u32 number,
                               GeometryLib::Point position) {
    return dialog(Zarn::DialogEntry(std::move(text), std::move(speaker), number, position));
}

MapBuilder& MapBuilder::zOrder(const Zarn::ZOrder& zOrder) {
    contents_.zOrders.push_back(zOrder);
    return *this;
}

MapBuilder& MapBuilder::cameraRegion(const GeometryLib::Rect& region,
                                     std::vector<Zarn::TransitionRegion> transitions) {
    contents_.cameraRegions.regions.push_back(region);
    contents_.cameraRegions.transitions.push_back(std::move(transitions));
    return *this;
}

MapBuilder& MapBuilder::cameraRegions(const Zarn::CameraRegions& regions) {
    for (std::size_t i = 0; i < regions.regions.size(); ++i) {
        cameraRegion(regions.regions[i], i < regions.transitions.size()
                                             ? regions.transitions[i]
                                             : std::vector<Zarn::TransitionRegion>{});
    }
    return *this;
}

std::vector<u8> MapBuilder::sectionBytes(Section section) const {
    return Zarn::writeMapSection(contents_, section);
}

std::vector<u8> MapBuilder::bytesThrough(Section last) const {
    return Zarn::writeMapFile(contents_, last);
}

std::istringstream MapBuilder::stream() const {
    const std::vector<u8> b = bytes();
    return std::istringstream(std::string(b.begin(), b.end()));
}

void MapBuilder::writeFile(const std::string& path) const {
    const std::vector<u8> b = bytes();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!file) throw std::runtime_error("could not write " + path);
}

std::vector<u8> u32Bytes(std::initializer_list<u32> values) {
    Buffer b;
    for (u32 v : values) b.appendU32(v);
    return b.takeBytes();
}

void appendBytes(std::vector<u8>& to, const std::vector<u8>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace zarn_test
