#include "support/map/MapBuilder.h"

#include <fstream>
#include <stdexcept>

#include "foundation/Buffer.h"
#include "map/records/SectionHeaders.h"

namespace zarn_test {

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

}  // namespace

MapBuilder::MapBuilder(std::string name, GeometryLib::Point spawnPoint)
    : header_(std::move(name), spawnPoint) {
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
    width_ = width;
    height_ = height;
    cellSize_ = cellSize;
    if (tiles.empty() && cellSize != 0)
        tiles.assign(static_cast<std::size_t>((u64{width} * height) / (u64{cellSize} * cellSize)), 0);
    tiles_ = std::move(tiles);
    rectangles_ = std::move(maximalRectangles);
    return *this;
}

MapBuilder& MapBuilder::trap(const Zarn::TrapElement& record) {
    traps_.push_back(record.clone());
    return *this;
}

MapBuilder& MapBuilder::trapGroup(const Zarn::GroupedTrapElement& record) {
    groups_.push_back(record.clone());
    return *this;
}

MapBuilder& MapBuilder::event(const Zarn::MapEventData& event) {
    events_.push_back(event);
    return *this;
}

MapBuilder& MapBuilder::element(const Zarn::MapElement& record) {
    elements_.push_back(record.clone());
    return *this;
}

MapBuilder& MapBuilder::dialog(const Zarn::DialogEntry& entry) {
    dialogs_.push_back(entry);
    return *this;
}

MapBuilder& MapBuilder::dialog(std::string text, std::string speaker, u32 number,
                               GeometryLib::Point position) {
    return dialog(Zarn::DialogEntry(std::move(text), std::move(speaker), number, position));
}

MapBuilder& MapBuilder::zOrder(const Zarn::ZOrder& zOrder) {
    zOrders_.push_back(zOrder);
    return *this;
}

MapBuilder& MapBuilder::cameraRegion(const GeometryLib::Rect& region,
                                     std::vector<Zarn::TransitionRegion> transitions) {
    cameraRegions_.regions.push_back(region);
    cameraRegions_.transitions.push_back(std::move(transitions));
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
    Buffer out;
    switch (section) {
        case Section::header:
            appendFramed(out, header_);
            break;
        case Section::grid: {
            Buffer body;
            body.appendU32(width_);
            body.appendU32(height_);
            body.appendU32(cellSize_);
            body.append(tiles_.data(), static_cast<u32>(tiles_.size()));
            Zarn::MaximalRectangleHeader(0, static_cast<u32>(rectangles_.size())).serialize(body);
            for (const GeometryLib::Rect& r : rectangles_) r.serialize(body);
            appendLengthPrefixed(out, body);
            break;
        }
        case Section::traps:
            Zarn::TrapElementMapHeader(static_cast<u32>(traps_.size()), static_cast<u32>(groups_.size()))
                .serialize(out);
            for (const auto& t : traps_) appendFramed(out, *t);
            for (const auto& g : groups_) appendFramed(out, *g);
            break;
        case Section::events:
            out.appendU32(static_cast<u32>(events_.size()));
            for (const Zarn::MapEventData& e : events_) e.serialize(out);
            break;
        case Section::elements:
            Zarn::MapElementsHeader(static_cast<u32>(elements_.size())).serialize(out);
            for (const auto& e : elements_) appendFramed(out, *e);
            break;
        case Section::dialogs: {
            Buffer body;
            for (const Zarn::DialogEntry& d : dialogs_) d.serialize(body);
            out.appendU32(body.size());
            out.appendU32(static_cast<u32>(dialogs_.size()));
            out.append(body.bytes().data(), body.size());
            break;
        }
        case Section::zOrders:
            out.appendU32(static_cast<u32>(zOrders_.size()));
            for (const Zarn::ZOrder& z : zOrders_) z.serialize(out);
            break;
        case Section::cameraRegions: {
            Buffer body;
            body.appendU32(static_cast<u32>(cameraRegions_.regions.size()));
            for (std::size_t i = 0; i < cameraRegions_.regions.size(); ++i) {
                cameraRegions_.regions[i].serialize(body);
                body.appendU32(static_cast<u32>(cameraRegions_.transitions[i].size()));
                for (const Zarn::TransitionRegion& t : cameraRegions_.transitions[i]) t.serialize(body);
            }
            appendLengthPrefixed(out, body);
            break;
        }
    }
    return out.takeBytes();
}

std::vector<u8> MapBuilder::bytesThrough(Section last) const {
    std::vector<u8> out;
    for (int s = 0; s <= static_cast<int>(last); ++s) {
        appendBytes(out, sectionBytes(static_cast<Section>(s)));
    }
    return out;
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
