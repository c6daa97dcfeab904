#include "map/records/SwitchElement.h"

namespace Zarn {

SwitchElement::SwitchElement(Convinience::ByteReader& reader) : FreeNumberedMapElement(reader) {
    startOff = reader.readU8();
    firstActions = ActionDataFactory::readFramedList(reader);
    secondActions = ActionDataFactory::readFramedList(reader);
}

void SwitchElement::serialize(Convinience::Buffer& buffer) const {
    FreeNumberedMapElement::serialize(buffer);
    buffer.appendU8(startOff);
    firstActions.serializeFramed(buffer);
    secondActions.serializeFramed(buffer);
}

u32 SwitchElement::serializedSize() const {
    return FreeNumberedMapElement::serializedSize() + 1 + firstActions.framedSerializedSize() +
           secondActions.framedSerializedSize();
}

MultiSwitchElement::MultiSwitchElement(Convinience::ByteReader& reader) : SwitchElement(reader) {
    leverNumbers = reader.readU32Vector();
}

void MultiSwitchElement::serialize(Convinience::Buffer& buffer) const {
    SwitchElement::serialize(buffer);
    Convinience::writeU32Vector(buffer, leverNumbers);
}

SelectiveMultiSwitchElement::SelectiveMultiSwitchElement(Convinience::ByteReader& reader)
    : MultiSwitchElement(reader) {
    selectedNumbers = reader.readU32Vector();
}

void SelectiveMultiSwitchElement::serialize(Convinience::Buffer& buffer) const {
    MultiSwitchElement::serialize(buffer);
    Convinience::writeU32Vector(buffer, selectedNumbers);
}

}  // namespace Zarn
