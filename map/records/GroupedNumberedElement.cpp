#include "map/records/GroupedNumberedElement.h"

namespace Zarn {

GroupedNumberedElement::GroupedNumberedElement(Convinience::ByteReader& reader) : MapElement(reader) {
    number = reader.readU32();
    groupFlag = reader.readU8();
    groupTime = reader.readFloat();
    memberNumbers = reader.readU32Vector();
}

void GroupedNumberedElement::serialize(Convinience::Buffer& buffer) const {
    MapElement::serialize(buffer);
    buffer.appendU32(number);
    buffer.appendU8(groupFlag);
    buffer.appendFloat(groupTime);
    Convinience::writeU32Vector(buffer, memberNumbers);
}

}  // namespace Zarn
