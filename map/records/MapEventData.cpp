#include "map/records/MapEventData.h"

namespace Zarn {

MapEventData::MapEventData(Convinience::ByteReader& reader) {
    const u32 triggerLength = reader.readU32();
    Convinience::ByteReader triggerBytes = reader.sub(triggerLength);
    trigger = TriggerData::make(triggerBytes);
    const u32 actionCount = reader.readCount(8);
    for (u32 i = 0; i < actionCount; ++i) {
        const u32 actionLength = reader.readU32();
        Convinience::ByteReader actionBytes = reader.sub(actionLength);
        actions.push_back(ActionDataFactory::make(actionBytes));
    }
    eventId = reader.readU32();
    enabled = reader.readU8();
}

MapEventData::MapEventData(const MapEventData& other)
    : trigger(other.trigger ? other.trigger->clone() : nullptr),
      actions(other.actions),
      eventId(other.eventId),
      enabled(other.enabled) {}

MapEventData& MapEventData::operator=(const MapEventData& other) {
    if (this != &other) {
        MapEventData copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void MapEventData::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(trigger ? trigger->serializedSize() : 0);
    if (trigger) trigger->serialize(buffer);
    actions.serializeFramed(buffer);
    buffer.appendU32(eventId);
    buffer.appendU8(enabled);
}

u32 MapEventData::serializedSize() const {
    return (trigger ? trigger->serializedSize() : 0) + actions.framedSerializedSize() + 5;
}

}  // namespace Zarn
