#include "map/records/GroupedTrapElement.h"

namespace Zarn {

GroupedTrapElement::GroupedTrapElement(Convinience::ByteReader& reader) : TrapElement(reader) {
    sequential = reader.readU8();
    stepDelay = reader.readFloat();
    memberNumbers = reader.readU32Vector();
}

void GroupedTrapElement::serialize(Convinience::Buffer& buffer) const {
    TrapElement::serialize(buffer);
    buffer.appendU8(sequential);
    buffer.appendFloat(stepDelay);
    Convinience::writeU32Vector(buffer, memberNumbers);
}

SequentialGroupedIntervalTrapElement::SequentialGroupedIntervalTrapElement(Convinience::ByteReader& reader)
    : GroupedTrapElement(reader) {
    sequenceDelay = reader.readFloat();
}

void SequentialGroupedIntervalTrapElement::serialize(Convinience::Buffer& buffer) const {
    GroupedTrapElement::serialize(buffer);
    buffer.appendFloat(sequenceDelay);
}

}  // namespace Zarn
