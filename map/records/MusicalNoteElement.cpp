#include "map/records/MusicalNoteElement.h"

namespace Zarn {

MusicalNoteElement::MusicalNoteElement(Convinience::ByteReader& reader) : TileNumberedMapElement(reader) {
    note = reader.readU8();
}

void MusicalNoteElement::serialize(Convinience::Buffer& buffer) const {
    TileNumberedMapElement::serialize(buffer);
    buffer.appendU8(note);
}

MusicalNoteControllerElement::MusicalNoteControllerElement(Convinience::ByteReader& reader)
    : MusicalNoteElement(reader) {
    controllerTime = reader.readFloat();
    const u32 sequences = reader.readCount(4);
    noteSequences.reserve(sequences);
    for (u32 i = 0; i < sequences; ++i) noteSequences.push_back(reader.readU32Vector());
    firstActions = ActionDataFactory::readList(reader);
    secondActions = ActionDataFactory::readList(reader);
}

void MusicalNoteControllerElement::serialize(Convinience::Buffer& buffer) const {
    MusicalNoteElement::serialize(buffer);
    buffer.appendFloat(controllerTime);
    buffer.appendU32(static_cast<u32>(noteSequences.size()));
    for (const auto& sequence : noteSequences) Convinience::writeU32Vector(buffer, sequence);
    firstActions.serialize(buffer);
    secondActions.serialize(buffer);
}

u32 MusicalNoteControllerElement::serializedSize() const {
    u32 size = MusicalNoteElement::serializedSize() + 4 + 4;
    for (const auto& sequence : noteSequences) size += Convinience::u32VectorSize(sequence);
    return size + firstActions.serializedSize() + secondActions.serializedSize();
}

}  // namespace Zarn
