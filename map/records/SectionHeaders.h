#pragma once

#include <memory>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Geometry.h"
#include "foundation/Serializable.h"

namespace Zarn {

// The small fixed records that frame the sections of a map file.

// The trap section's header (8 bytes, no length before it): the section holds
// firstCount + secondCount records (traps and trap groups, in any order).
class TrapElementMapHeader : public Convinience::Serializable {
public:
    TrapElementMapHeader() = default;
    TrapElementMapHeader(u32 firstCount, u32 secondCount)
        : firstCount(firstCount), secondCount(secondCount) {}
    explicit TrapElementMapHeader(Convinience::ByteReader& reader)
        : firstCount(reader.readU32()), secondCount(reader.readU32()) {}

    void serialize(Convinience::Buffer& buffer) const override {
        buffer.appendU32(firstCount);
        buffer.appendU32(secondCount);
    }
    u32 serializedSize() const override { return 8; }
    std::unique_ptr<TrapElementMapHeader> clone() const {
        return std::make_unique<TrapElementMapHeader>(*this);
    }

    u32 firstCount = 0;
    u32 secondCount = 0;
};

// The element section's header (4 bytes): the number of element records.
class MapElementsHeader : public Convinience::Serializable {
public:
    MapElementsHeader() = default;
    explicit MapElementsHeader(u32 count) : count(count) {}
    explicit MapElementsHeader(Convinience::ByteReader& reader) : count(reader.readU32()) {}

    void serialize(Convinience::Buffer& buffer) const override { buffer.appendU32(count); }
    u32 serializedSize() const override { return 4; }
    std::unique_ptr<MapElementsHeader> clone() const { return std::make_unique<MapElementsHeader>(*this); }

    u32 count = 0;
};

// The header before the grid section's maximal rectangles (8 bytes): a first
// word that nothing reads, then the rectangle count.
class MaximalRectangleHeader : public Convinience::Serializable {
public:
    MaximalRectangleHeader() = default;
    MaximalRectangleHeader(u32 firstWord, u32 count) : firstWord(firstWord), count(count) {}
    explicit MaximalRectangleHeader(Convinience::ByteReader& reader)
        : firstWord(reader.readU32()), count(reader.readU32()) {}

    void serialize(Convinience::Buffer& buffer) const override {
        buffer.appendU32(firstWord);
        buffer.appendU32(count);
    }
    u32 serializedSize() const override { return 8; }
    std::unique_ptr<MaximalRectangleHeader> clone() const {
        return std::make_unique<MaximalRectangleHeader>(*this);
    }

    u32 firstWord = 0;
    u32 count = 0;
};

// A transition region of a camera region: u32 id, then the area's Rect (16 bytes).
class TransitionRegion : public Convinience::Serializable {
public:
    TransitionRegion() = default;
    TransitionRegion(u32 id, GeometryLib::Rect area) : id(id), area(area) {}
    explicit TransitionRegion(Convinience::ByteReader& reader) : id(reader.readU32()), area(reader) {}

    void serialize(Convinience::Buffer& buffer) const override {
        buffer.appendU32(id);
        area.serialize(buffer);
    }
    u32 serializedSize() const override { return 16; }
    std::unique_ptr<TransitionRegion> clone() const { return std::make_unique<TransitionRegion>(*this); }

    bool operator==(const TransitionRegion& o) const { return id == o.id && area == o.area; }

    u32 id = 0;
    GeometryLib::Rect area;
};

}  // namespace Zarn
