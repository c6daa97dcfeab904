#pragma once

#include <initializer_list>
#include <unordered_set>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Geometry.h"
#include "foundation/GridCells.h"

namespace Zarn {

// A set of points (cells) held by their packed key: a point occurs at most
// once. Iteration follows the order of first insertion, so a record read from
// bytes writes its points back in the order it read them.
//
// Byte form: u32 count, then count points (4 bytes each, the packed key).
class PointSet {
public:
    using const_iterator = std::vector<GeometryLib::Point>::const_iterator;

    PointSet() = default;
    PointSet(std::initializer_list<GeometryLib::Point> points);
    // The cells of a cell set, in the set's iteration order.
    explicit PointSet(const GeometryLib::CellSet& cells);
    // Reads the count and the points; a repeated point is dropped.
    explicit PointSet(Convinience::ByteReader& reader);

    // Inserts the point unless present; true when it was inserted.
    bool insert(const GeometryLib::Point& point);
    bool contains(const GeometryLib::Point& point) const { return keys_.count(point.key) != 0; }
    void clear();
    // Replaces the contents by the cells of a cell set, in the set's iteration order.
    void assign(const GeometryLib::CellSet& cells);

    std::size_t size() const { return points_.size(); }
    bool empty() const { return points_.empty(); }
    const_iterator begin() const { return points_.begin(); }
    const_iterator end() const { return points_.end(); }
    const std::vector<GeometryLib::Point>& points() const { return points_; }
    GeometryLib::CellSet toCellSet() const;

    void serialize(Convinience::Buffer& buffer) const;
    u32 serializedSize() const { return 4 + 4 * static_cast<u32>(points_.size()); }

    // Equal when both hold the same points, in any order.
    bool operator==(const PointSet& other) const;

private:
    std::vector<GeometryLib::Point> points_;
    std::unordered_set<u32> keys_;
};

}  // namespace Zarn
