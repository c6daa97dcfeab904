#pragma once

#include <memory>

#include "map/records/ActionDataFactory.h"
#include "map/records/TriggerData.h"

namespace Zarn {

// One scripted event of a map: a trigger, the actions it sets off, the ID the
// map-event registry files it under and whether it starts enabled.
//
// Byte form (as serialize writes it and the map events section holds it):
// | trigger length | u32 | the trigger's size |
// | trigger        |     |
// | action count   | u32 |
// | per action     | u32 size, then the action |
// | eventId        | u32 |
// | enabled        | u8  | 1 in a new record |
// serializedSize leaves the leading trigger length out: it is 4 less than
// what serialize writes.
class MapEventData : public Convinience::Serializable {
public:
    MapEventData() = default;
    // Reads the byte form above; a trigger or action length that the bytes do
    // not hold throws ReadPastEndError. Each framed record is read from its own
    // bytes.
    explicit MapEventData(Convinience::ByteReader& reader);
    MapEventData(const MapEventData& other);
    MapEventData& operator=(const MapEventData& other);
    MapEventData(MapEventData&&) = default;
    MapEventData& operator=(MapEventData&&) = default;

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;
    std::unique_ptr<MapEventData> clone() const { return std::make_unique<MapEventData>(*this); }

    // Never null in a record read from bytes.
    std::unique_ptr<TriggerData> trigger;
    ActionList actions;
    u32 eventId = 0;
    u8 enabled = 1;
};

}  // namespace Zarn
