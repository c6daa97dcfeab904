#include "map/records/ScheduledTrapElement.h"

namespace Zarn {

ScheduledTrapEntry::ScheduledTrapEntry(Convinience::ByteReader& reader) {
    time = reader.readFloat();
    kind = reader.readU8();
    duration = reader.readFloat();
}

void ScheduledTrapEntry::serialize(Convinience::Buffer& buffer) const {
    buffer.appendFloat(time);
    buffer.appendU8(kind);
    buffer.appendFloat(duration);
}

ScheduledTrapElement::ScheduledTrapElement(Convinience::ByteReader& reader) : TrapElement(reader) {
    loop = reader.readU8();
    startDelay = reader.readFloat();
    warningLead = reader.readFloat();
    const u32 count = reader.readCount(9);
    entries.reserve(count);
    for (u32 i = 0; i < count; ++i) entries.emplace_back(reader);
}

void ScheduledTrapElement::serialize(Convinience::Buffer& buffer) const {
    TrapElement::serialize(buffer);
    buffer.appendU8(loop);
    buffer.appendFloat(startDelay);
    buffer.appendFloat(warningLead);
    buffer.appendU32(static_cast<u32>(entries.size()));
    for (const ScheduledTrapEntry& entry : entries) entry.serialize(buffer);
}

}  // namespace Zarn
