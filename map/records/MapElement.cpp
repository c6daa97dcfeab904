#include "map/records/MapElement.h"

namespace Zarn {

MapElement::MapElement(Convinience::ByteReader& reader) {
    elementId = reader.readU32();
    extra = reader.readU32();
    flag = reader.readU8();
}

void MapElement::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(elementId);
    buffer.appendU32(extra);
    buffer.appendU8(flag);
}

FreeMapElement::FreeMapElement(Convinience::ByteReader& reader) : MapElement(reader), position(reader) {}

void FreeMapElement::serialize(Convinience::Buffer& buffer) const {
    MapElement::serialize(buffer);
    position.serialize(buffer);
}

FreeNumberedMapElement::FreeNumberedMapElement(Convinience::ByteReader& reader) : FreeMapElement(reader) {
    number = reader.readU32();
}

void FreeNumberedMapElement::serialize(Convinience::Buffer& buffer) const {
    FreeMapElement::serialize(buffer);
    buffer.appendU32(number);
}

WholeTileMapElement::WholeTileMapElement(Convinience::ByteReader& reader) : MapElement(reader) {
    tileFlag = reader.readU8();
    cell = GeometryLib::Point(reader);
}

void WholeTileMapElement::serialize(Convinience::Buffer& buffer) const {
    MapElement::serialize(buffer);
    buffer.appendU8(tileFlag);
    cell.serialize(buffer);
}

TileNumberedMapElement::TileNumberedMapElement(Convinience::ByteReader& reader)
    : WholeTileMapElement(reader) {
    number = reader.readU32();
}

void TileNumberedMapElement::serialize(Convinience::Buffer& buffer) const {
    WholeTileMapElement::serialize(buffer);
    buffer.appendU32(number);
}

GridCoverageElement::GridCoverageElement(Convinience::ByteReader& reader)
    : MapElement(reader), coveredCells(reader) {}

void GridCoverageElement::serialize(Convinience::Buffer& buffer) const {
    MapElement::serialize(buffer);
    coveredCells.serialize(buffer);
}

RectSubElement::RectSubElement(Convinience::ByteReader& reader) {
    width = reader.readU32();
    height = reader.readU32();
}

void RectSubElement::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(width);
    buffer.appendU32(height);
}

CircleSubElement::CircleSubElement(Convinience::ByteReader& reader) {
    radius = reader.readU32();
    center = GeometryLib::Point(reader);
}

void CircleSubElement::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(radius);
    center.serialize(buffer);
}

}  // namespace Zarn
