#pragma once

#include <memory>
#include <string>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Geometry.h"
#include "foundation/Serializable.h"

namespace Zarn {

// The first section of a map file: the map's name (u32 length + bytes) and the
// players' spawn position in map units (Point). serializedSize = 4 + name length + 4.
class MapHeader : public Convinience::Serializable {
public:
    MapHeader() = default;
    MapHeader(std::string name, GeometryLib::Point spawnPoint)
        : name(std::move(name)), spawnPoint(spawnPoint) {}
    explicit MapHeader(Convinience::ByteReader& reader) : name(reader.readString()), spawnPoint(reader) {}

    void serialize(Convinience::Buffer& buffer) const override {
        Convinience::writeString(buffer, name);
        spawnPoint.serialize(buffer);
    }
    u32 serializedSize() const override { return Convinience::stringSize(name) + 4; }
    std::unique_ptr<MapHeader> clone() const { return std::make_unique<MapHeader>(*this); }

    std::string name;
    GeometryLib::Point spawnPoint;
};

}  // namespace Zarn
