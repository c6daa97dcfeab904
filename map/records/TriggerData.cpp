#include "map/records/TriggerData.h"

#include "foundation/Error.h"
#include "map/records/MapErrors.h"

namespace Zarn {

TriggerData::TriggerData(Convinience::ByteReader& reader) {
    triggerId = reader.readU32();
    count = reader.readU32();
}

std::unique_ptr<TriggerData> TriggerData::make(Convinience::ByteReader& reader) {
    Convinience::ByteReader peek = reader;
    const u32 id = TriggerData(peek).triggerId;
    if (id == 1) return std::make_unique<TriggerData>(reader);
    if (id == 5) return std::make_unique<PositionTriggerData>(reader);
    if (id >= 6 && id <= 18) return std::make_unique<NumberTriggerData>(reader);
    if (id == 19) return std::make_unique<TimerTriggerData>(reader);
    if (id == 20) return std::make_unique<AreaTriggerData>(reader);
    throw Convinience::Error(mapError::unknownTrigger);
}

void TriggerData::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(triggerId);
    buffer.appendU32(count);
}

PositionTriggerData::PositionTriggerData(Convinience::ByteReader& reader)
    : TriggerData(reader), cell(reader) {}

void PositionTriggerData::serialize(Convinience::Buffer& buffer) const {
    TriggerData::serialize(buffer);
    cell.serialize(buffer);
}

NumberTriggerData::NumberTriggerData(Convinience::ByteReader& reader) : TriggerData(reader) {
    number = reader.readU32();
}

void NumberTriggerData::serialize(Convinience::Buffer& buffer) const {
    TriggerData::serialize(buffer);
    buffer.appendU32(number);
}

TimerTriggerData::TimerTriggerData(Convinience::ByteReader& reader) : TriggerData(reader) {
    time = reader.readFloat();
}

void TimerTriggerData::serialize(Convinience::Buffer& buffer) const {
    TriggerData::serialize(buffer);
    buffer.appendFloat(time);
}

AreaTriggerData::AreaTriggerData(Convinience::ByteReader& reader) : TriggerData(reader), cells(reader) {}

void AreaTriggerData::serialize(Convinience::Buffer& buffer) const {
    TriggerData::serialize(buffer);
    cells.serialize(buffer);
}

}  // namespace Zarn
