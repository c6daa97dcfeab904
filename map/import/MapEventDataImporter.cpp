#include "map/import/MapEventDataImporter.h"

#include <string>

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "map/import/MapStreamReader.h"
#include "map/records/MapErrors.h"

namespace Zarn {

namespace {

std::unique_ptr<ActionData> readFramedAction(MapStreamReader& in) {
    const std::vector<u8> bytes = in.readBytes(in.readU32());
    Convinience::ByteReader reader(bytes);
    return ActionDataFactory::make(reader);
}

}  // namespace

std::unique_ptr<TriggerData> TriggerDataReader::read(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    return read(in);
}

std::unique_ptr<TriggerData> TriggerDataReader::read(MapStreamReader& in) {
    const std::vector<u8> bytes = in.readBytes(in.readU32());
    Convinience::ByteReader reader(bytes);
    try {
        return TriggerData::make(reader);
    } catch (const Convinience::ReadPastEndError&) {
        throw Convinience::Error(mapError::badMap);
    }
}

MapEventDataImporter::MapEventDataImporter(std::vector<std::unique_ptr<MapEventData>>& events)
    : events_(events) {}

void MapEventDataImporter::import(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    u32 eventCount = 0;
    if (!in.atEnd()) {
        try {
            eventCount = in.readU32();
            // The smallest event: trigger length and 8-byte trigger, action
            // count, eventId and enabled.
            in.checkCount(eventCount, 4 + 8 + 4 + 4 + 1);
            for (u32 i = 0; i < eventCount; ++i) {
                auto event = std::make_unique<MapEventData>();
                event->trigger = triggerReader_.read(in);
                const u32 actionCount = in.readU32();
                in.checkCount(actionCount, 4 + 4);
                for (u32 a = 0; a < actionCount; ++a) event->actions.push_back(readFramedAction(in));
                event->eventId = in.readU32();
                event->enabled = in.readBytes(1)[0];
                events_.push_back(std::move(event));
            }
        } catch (const Convinience::ReadPastEndError&) {
            throw Convinience::Error(mapError::badMap);
        }
    }
    logger_.log(Convinience::severity::info, std::to_string(eventCount) + " map events imported");
}

}  // namespace Zarn
