#include "map/records/ElevatorPadElement.h"

namespace Zarn {

ElevatorPadElement::ElevatorPadElement(Convinience::ByteReader& reader) : TileNumberedMapElement(reader) {
    startHidden = reader.readU8();
    padValue = reader.readU8();
    startValue = reader.readU8();
    padTime = reader.readFloat();
}

void ElevatorPadElement::serialize(Convinience::Buffer& buffer) const {
    TileNumberedMapElement::serialize(buffer);
    buffer.appendU8(startHidden);
    buffer.appendU8(padValue);
    buffer.appendU8(startValue);
    buffer.appendFloat(padTime);
}

}  // namespace Zarn
