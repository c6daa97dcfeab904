#include "map/records/DoorElement.h"

namespace Zarn {

DoorElement::DoorElement(Convinience::ByteReader& reader) : CombinedElement(reader) {
    doorFlag = reader.readU8();
}

void DoorElement::serialize(Convinience::Buffer& buffer) const {
    CombinedElement::serialize(buffer);
    buffer.appendU8(doorFlag);
}

AutomaticDoorElement::AutomaticDoorElement(Convinience::ByteReader& reader)
    : DoorElement(reader), sensorCells(reader) {}

void AutomaticDoorElement::serialize(Convinience::Buffer& buffer) const {
    DoorElement::serialize(buffer);
    sensorCells.serialize(buffer);
}

}  // namespace Zarn
