#include "map/records/ConveyorElement.h"

namespace Zarn {

ConveyorElement::ConveyorElement(Convinience::ByteReader& reader) : TileNumberedMapElement(reader) {
    direction = reader.readU8();
    speed = reader.readFloat();
}

void ConveyorElement::serialize(Convinience::Buffer& buffer) const {
    TileNumberedMapElement::serialize(buffer);
    buffer.appendU8(direction);
    buffer.appendFloat(speed);
}

}  // namespace Zarn
