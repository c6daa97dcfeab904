#include "map/records/PointSet.h"

namespace Zarn {

PointSet::PointSet(std::initializer_list<GeometryLib::Point> points) {
    for (const GeometryLib::Point& p : points) insert(p);
}

PointSet::PointSet(const GeometryLib::CellSet& cells) {
    assign(cells);
}

PointSet::PointSet(Convinience::ByteReader& reader) {
    const u32 count = reader.readCount(4);
    for (u32 i = 0; i < count; ++i) insert(GeometryLib::Point(reader));
}

bool PointSet::insert(const GeometryLib::Point& point) {
    if (!keys_.insert(point.key).second) return false;
    points_.push_back(point);
    return true;
}

void PointSet::clear() {
    points_.clear();
    keys_.clear();
}

void PointSet::assign(const GeometryLib::CellSet& cells) {
    clear();
    for (const GeometryLib::Point& p : cells) insert(p);
}

GeometryLib::CellSet PointSet::toCellSet() const {
    return GeometryLib::CellSet(points_.begin(), points_.end());
}

void PointSet::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(points_.size()));
    for (const GeometryLib::Point& p : points_) p.serialize(buffer);
}

bool PointSet::operator==(const PointSet& other) const {
    if (size() != other.size()) return false;
    for (const GeometryLib::Point& p : points_) {
        if (!other.contains(p)) return false;
    }
    return true;
}

}  // namespace Zarn
