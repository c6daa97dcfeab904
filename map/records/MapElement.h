#pragma once

#include <memory>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Geometry.h"
#include "foundation/Serializable.h"
#include "map/records/PointSet.h"
#include "map/records/RecordClone.h"

namespace Zarn {

// The records of a map file's element and trap sections. A record's bytes are
// its base's bytes followed by its own fields, little-endian, no padding; the
// constructor from a ByteReader reads exactly those bytes (and throws
// ReadPastEndError when they end early); serialize writes them back.
//
// Records are owned by the GameMap and outlive the elements and traps that
// point to them.

// The header of every element and trap record.
// | field     | type |
// | elementId | u32  |  the type ID; selects the record class
// | extra     | u32  |  carried unchanged (the visuals' z offset)
// | flag      | u8   |  carried unchanged (hidden at start for traps)
class MapElement : public Convinience::Serializable {
public:
    MapElement() = default;
    explicit MapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 9; }
    std::unique_ptr<MapElement> clone() const { return std::unique_ptr<MapElement>(cloneRecord()); }

    u32 elementId = 0;
    u32 extra = 0;
    u8 flag = 0;

protected:
    virtual MapElement* cloneRecord() const { return new MapElement(*this); }
};

// An element placed at a point in map units: + Point position (13 bytes).
class FreeMapElement : public MapElement {
    ZARN_RECORD_CLONE(FreeMapElement)
public:
    FreeMapElement() = default;
    explicit FreeMapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return MapElement::serializedSize() + 4; }

    GeometryLib::Point position;
};

// + u32 number, by which levers, scripted actions and groups address it (17 bytes).
class FreeNumberedMapElement : public FreeMapElement {
    ZARN_RECORD_CLONE(FreeNumberedMapElement)
public:
    FreeNumberedMapElement() = default;
    explicit FreeNumberedMapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return FreeMapElement::serializedSize() + 4; }

    u32 number = 0;
};

// An element covering one grid cell: + u8 tileFlag, Point cell (14 bytes).
class WholeTileMapElement : public MapElement {
    ZARN_RECORD_CLONE(WholeTileMapElement)
public:
    WholeTileMapElement() = default;
    explicit WholeTileMapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return MapElement::serializedSize() + 5; }

    u8 tileFlag = 0;
    GeometryLib::Point cell;
};

// + u32 number (18 bytes).
class TileNumberedMapElement : public WholeTileMapElement {
    ZARN_RECORD_CLONE(TileNumberedMapElement)
public:
    TileNumberedMapElement() = default;
    explicit TileNumberedMapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return WholeTileMapElement::serializedSize() + 4; }

    u32 number = 0;
};

// + point list coveredCells (13 + 4 per cell bytes).
class GridCoverageElement : public MapElement {
    ZARN_RECORD_CLONE(GridCoverageElement)
public:
    GridCoverageElement() = default;
    explicit GridCoverageElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return MapElement::serializedSize() + coveredCells.serializedSize();
    }

    PointSet coveredCells;
};

// The second part of a combined record: a blocking rectangle of width x height
// map units whose origin is the record's position (8 bytes).
class RectSubElement : public Convinience::Serializable {
public:
    RectSubElement() = default;
    explicit RectSubElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 8; }

    u32 width = 0;
    u32 height = 0;
};

// The second part of a combined record: u32 radius, Point center (8 bytes).
class CircleSubElement : public Convinience::Serializable {
public:
    CircleSubElement() = default;
    explicit CircleSubElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 8; }

    u32 radius = 0;
    GeometryLib::Point center;
};

// One record of two parts: First's bytes, then Sub's bytes. The sub-element's
// serialize and serializedSize are overridden here, so both bases answer for
// the whole record.
template <class First, class Sub>
class CombinedElement : public First, public Sub {
    ZARN_RECORD_CLONE(CombinedElement)
public:
    CombinedElement() = default;
    explicit CombinedElement(Convinience::ByteReader& reader) : First(reader), Sub(reader) {}

    // The whole record's bytes (both bases would answer the same).
    std::vector<u8> toBytes() const { return First::toBytes(); }

    void serialize(Convinience::Buffer& buffer) const override {
        First::serialize(buffer);
        Sub::serialize(buffer);
    }
    u32 serializedSize() const override { return First::serializedSize() + Sub::serializedSize(); }
};

}  // namespace Zarn
