#include "map/records/ScriptedSteerableElement.h"

namespace Zarn {

ScriptedSteerableElement::ScriptedSteerableElement(Convinience::ByteReader& reader)
    : CombinedElement(reader) {
    scriptFlag = reader.readU8();
    actions = ActionDataFactory::readList(reader);
}

void ScriptedSteerableElement::serialize(Convinience::Buffer& buffer) const {
    CombinedElement::serialize(buffer);
    buffer.appendU8(scriptFlag);
    actions.serialize(buffer);
}

}  // namespace Zarn
