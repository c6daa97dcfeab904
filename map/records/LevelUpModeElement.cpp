#include "map/records/LevelUpModeElement.h"

namespace Zarn {

LevelUpModeElement::LevelUpModeElement(Convinience::ByteReader& reader) : MapElement(reader) {
    modeNumber = reader.readU32();
    modeFlagA = reader.readU8();
    modeFlagB = reader.readU8();
    modeValueA = reader.readFloat();
    modeValueB = reader.readFloat();
    anchor = GeometryLib::Point(reader);
    areaCells = PointSet(reader);
    memberNumbers = reader.readU32Vector();
}

void LevelUpModeElement::serialize(Convinience::Buffer& buffer) const {
    MapElement::serialize(buffer);
    buffer.appendU32(modeNumber);
    buffer.appendU8(modeFlagA);
    buffer.appendU8(modeFlagB);
    buffer.appendFloat(modeValueA);
    buffer.appendFloat(modeValueB);
    anchor.serialize(buffer);
    areaCells.serialize(buffer);
    Convinience::writeU32Vector(buffer, memberNumbers);
}

}  // namespace Zarn
