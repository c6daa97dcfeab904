#pragma once

#include <memory>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Geometry.h"
#include "foundation/Serializable.h"
#include "map/records/PointSet.h"
#include "map/records/RecordClone.h"

namespace Zarn {

// The trigger records of map events. Every record starts with u32 triggerId
// (which selects the class) and u32 count (the event's number of firings; 0
// and 1 both mean one). Own fields follow in file order.
//
// | class               | own fields          | size     | trigger IDs |
// | TriggerData         | -                   | 8        | 1 |
// | PositionTriggerData | Point cell          | 12       | 5 |
// | NumberTriggerData   | u32 number          | 12       | 6-18 |
// | TimerTriggerData    | f32 time            | 12       | 19 |
// | AreaTriggerData     | point list cells    | 12 + 4n  | 20 |
class TriggerData : public Convinience::Serializable {
public:
    TriggerData() = default;
    TriggerData(u32 triggerId, u32 count) : triggerId(triggerId), count(count) {}
    explicit TriggerData(Convinience::ByteReader& reader);

    // Reads one trigger record by its triggerId. Throws Convinience::Error
    // "invalid triggerID" for 0, 2, 3, 4 and IDs above 20; ReadPastEndError
    // when the bytes end early.
    static std::unique_ptr<TriggerData> make(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 8; }
    std::unique_ptr<TriggerData> clone() const { return std::unique_ptr<TriggerData>(cloneRecord()); }

    u32 triggerId = 0;
    u32 count = 0;

protected:
    virtual TriggerData* cloneRecord() const { return new TriggerData(*this); }
};

class PositionTriggerData : public TriggerData {
    ZARN_RECORD_CLONE(PositionTriggerData)
public:
    PositionTriggerData() = default;
    explicit PositionTriggerData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12; }

    GeometryLib::Point cell;
};

class NumberTriggerData : public TriggerData {
    ZARN_RECORD_CLONE(NumberTriggerData)
public:
    NumberTriggerData() = default;
    explicit NumberTriggerData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12; }

    u32 number = 0;
};

class TimerTriggerData : public TriggerData {
    ZARN_RECORD_CLONE(TimerTriggerData)
public:
    TimerTriggerData() = default;
    explicit TimerTriggerData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12; }

    float time = 0.0f;
};

class AreaTriggerData : public TriggerData {
    ZARN_RECORD_CLONE(AreaTriggerData)
public:
    AreaTriggerData() = default;
    explicit AreaTriggerData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 8 + cells.serializedSize(); }

    PointSet cells;
};

}  // namespace Zarn
