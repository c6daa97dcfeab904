#pragma once

#include "foundation/Serializable.h"

namespace Zarn {

// The three numbers that define a room: its size in map units and the side of
// one square cell. Handed out by value.
//
// Byte form (12 bytes, little-endian):
// | offset | field    | type |
// |--------|----------|------|
// | 0      | width    | u32  |
// | 4      | height   | u32  |
// | 8      | cellSize | u32  |
class MapProperties : public Convinience::Serializable {
public:
    MapProperties() = default;
    MapProperties(u32 width, u32 height, u32 cellSize) : width(width), height(height), cellSize(cellSize) {}
    explicit MapProperties(Convinience::ByteReader& reader)
        : width(reader.readU32()), height(reader.readU32()), cellSize(reader.readU32()) {}

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12; }

    bool operator==(const MapProperties& o) const {
        return width == o.width && height == o.height && cellSize == o.cellSize;
    }

    // Map units. A map that has not been loaded keeps 3 x 3 with cells of 1.
    u32 width = 3;
    u32 height = 3;
    // Map units per cell side; 0 only in a broken map (the grid then has no cells).
    u32 cellSize = 1;
};

}  // namespace Zarn
