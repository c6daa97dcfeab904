#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "map/records/MapEventData.h"

namespace Zarn {

class MapStreamReader;

// Reads a framed trigger record (u32 length, then that many bytes) from a map
// stream and makes the trigger of its triggerId (TriggerData::make).
class TriggerDataReader {
public:
    // Throws "invalid triggerID" for an unknown ID and "bad map" when the
    // stream or the record ends early.
    std::unique_ptr<TriggerData> read(std::istream& stream);
    std::unique_ptr<TriggerData> read(MapStreamReader& in);
};

// Reads the map events section: u32 eventCount, then per event its framed
// trigger, u32 action count, the framed actions, u32 eventId and u8 enabled (the
// byte form of MapEventData). A stream at its end yields no events; a
// truncated section or record throws "bad map"; unknown IDs throw "invalid
// triggerID" and "invalid action".
class MapEventDataImporter : public Convinience::StreamImporter {
public:
    // The container belongs to the GameMap and outlives the importer.
    explicit MapEventDataImporter(std::vector<std::unique_ptr<MapEventData>>& events);

    void import(std::istream& stream) override;

private:
    TriggerDataReader triggerReader_;
    std::vector<std::unique_ptr<MapEventData>>& events_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
