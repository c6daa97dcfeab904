#pragma once

#include <memory>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/Geometry.h"
#include "foundation/Serializable.h"
#include "map/records/RecordClone.h"

namespace Zarn {

// The action records of map events and of the action lists inside lever,
// note-controller and scripted-steerable records. Every record starts with its
// u32 actionId, which selects the class (ActionDataFactory); the fields below
// follow it in file order, little-endian, no padding.
//
// | class                          | own fields                               | action IDs |
// | ActionData                     | -                                        | 34, 37 |
// | NumberActionData               | u32 number                               | 0, 1, 4-13, 19, 20, 24-30, 38
// | | TwoNumbersActionData           | u32 firstNumber, u32 secondNumber        | 17, 18 | |
// NumbersActionData              | u32 count, count x u32 numbers           | 14, 15, 21, 22, 31, 32 | |
// FloatActionData                | f32 floatValue                           | 36 | | MoveSteerableData | u32
// steerableNumber, Point target        | 2, 23 | | PositionsActionData<FPoint>    | u32 count, count x (f32
// x, f32 y)        | 33 | | PositionsActionData<Point>     | u32 count, count x Point                 | 35 |
// | TimerActionData                | f32 delay, u32 nested length, nested     | 16 |
class ActionData : public Convinience::Serializable {
public:
    ActionData() = default;
    explicit ActionData(u32 actionId) : actionId(actionId) {}
    explicit ActionData(Convinience::ByteReader& reader) : actionId(reader.readU32()) {}

    void serialize(Convinience::Buffer& buffer) const override { buffer.appendU32(actionId); }
    u32 serializedSize() const override { return 4; }
    std::unique_ptr<ActionData> clone() const { return std::unique_ptr<ActionData>(cloneRecord()); }

    u32 actionId = 0;

protected:
    virtual ActionData* cloneRecord() const { return new ActionData(*this); }
};

class NumberActionData : public ActionData {
    ZARN_RECORD_CLONE(NumberActionData)
public:
    NumberActionData() = default;
    NumberActionData(u32 actionId, u32 number) : ActionData(actionId), number(number) {}
    explicit NumberActionData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 8; }

    u32 number = 0;
};

class TwoNumbersActionData : public ActionData {
    ZARN_RECORD_CLONE(TwoNumbersActionData)
public:
    TwoNumbersActionData() = default;
    explicit TwoNumbersActionData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12; }

    u32 firstNumber = 0;
    u32 secondNumber = 0;
};

class NumbersActionData : public ActionData {
    ZARN_RECORD_CLONE(NumbersActionData)
public:
    NumbersActionData() = default;
    explicit NumbersActionData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 4 + Convinience::u32VectorSize(numbers); }

    std::vector<u32> numbers;
};

class FloatActionData : public ActionData {
    ZARN_RECORD_CLONE(FloatActionData)
public:
    FloatActionData() = default;
    explicit FloatActionData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 8; }

    float floatValue = 0.0f;
};

class MoveSteerableData : public ActionData {
    ZARN_RECORD_CLONE(MoveSteerableData)
public:
    MoveSteerableData() = default;
    explicit MoveSteerableData(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12; }

    u32 steerableNumber = 0;
    GeometryLib::Point target;
};

// Position is GeometryLib::FPoint (8 bytes each) or GeometryLib::Point (4 bytes each).
template <class Position>
class PositionsActionData : public ActionData {
    ZARN_RECORD_CLONE(PositionsActionData)
public:
    PositionsActionData() = default;
    explicit PositionsActionData(Convinience::ByteReader& reader) : ActionData(reader) {
        const u32 count = reader.readCount(Position().serializedSize());
        positions.reserve(count);
        for (u32 i = 0; i < count; ++i) positions.emplace_back(reader);
    }

    void serialize(Convinience::Buffer& buffer) const override {
        ActionData::serialize(buffer);
        buffer.appendU32(static_cast<u32>(positions.size()));
        for (const Position& p : positions) p.serialize(buffer);
    }
    u32 serializedSize() const override {
        return 8 + Position().serializedSize() * static_cast<u32>(positions.size());
    }

    std::vector<Position> positions;
};

// Runs its one nested action after `delay` seconds. The nested action may
// itself be a timer, down to ActionDataFactory::maxNestingDepth levels.
class TimerActionData : public ActionData {
    ZARN_RECORD_CLONE(TimerActionData)
public:
    TimerActionData() = default;
    // depth: how many timers enclose this one.
    explicit TimerActionData(Convinience::ByteReader& reader, u32 depth = 0);
    TimerActionData(const TimerActionData& other);
    TimerActionData& operator=(const TimerActionData& other);
    TimerActionData(TimerActionData&&) = default;
    TimerActionData& operator=(TimerActionData&&) = default;

    // The nested action's length is written as its size.
    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 12 + (action ? action->serializedSize() : 0); }

    float delay = 0.0f;
    // Never null in a record read from bytes.
    std::unique_ptr<ActionData> action;
};

}  // namespace Zarn
