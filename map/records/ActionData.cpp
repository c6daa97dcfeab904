#include "map/records/ActionData.h"

#include "map/records/ActionDataFactory.h"

namespace Zarn {

NumberActionData::NumberActionData(Convinience::ByteReader& reader) : ActionData(reader) {
    number = reader.readU32();
}

void NumberActionData::serialize(Convinience::Buffer& buffer) const {
    ActionData::serialize(buffer);
    buffer.appendU32(number);
}

TwoNumbersActionData::TwoNumbersActionData(Convinience::ByteReader& reader) : ActionData(reader) {
    firstNumber = reader.readU32();
    secondNumber = reader.readU32();
}

void TwoNumbersActionData::serialize(Convinience::Buffer& buffer) const {
    ActionData::serialize(buffer);
    buffer.appendU32(firstNumber);
    buffer.appendU32(secondNumber);
}

NumbersActionData::NumbersActionData(Convinience::ByteReader& reader) : ActionData(reader) {
    numbers = reader.readU32Vector();
}

void NumbersActionData::serialize(Convinience::Buffer& buffer) const {
    ActionData::serialize(buffer);
    Convinience::writeU32Vector(buffer, numbers);
}

FloatActionData::FloatActionData(Convinience::ByteReader& reader) : ActionData(reader) {
    floatValue = reader.readFloat();
}

void FloatActionData::serialize(Convinience::Buffer& buffer) const {
    ActionData::serialize(buffer);
    buffer.appendFloat(floatValue);
}

MoveSteerableData::MoveSteerableData(Convinience::ByteReader& reader) : ActionData(reader) {
    steerableNumber = reader.readU32();
    target = GeometryLib::Point(reader);
}

void MoveSteerableData::serialize(Convinience::Buffer& buffer) const {
    ActionData::serialize(buffer);
    buffer.appendU32(steerableNumber);
    target.serialize(buffer);
}

TimerActionData::TimerActionData(Convinience::ByteReader& reader, u32 depth) : ActionData(reader) {
    delay = reader.readFloat();
    (void)reader.readU32();  // the nested length; the nested record is read to its own size
    action = ActionDataFactory::make(reader, depth + 1);
}

TimerActionData::TimerActionData(const TimerActionData& other)
    : ActionData(other), delay(other.delay), action(other.action ? other.action->clone() : nullptr) {}

TimerActionData& TimerActionData::operator=(const TimerActionData& other) {
    if (this != &other) {
        ActionData::operator=(other);
        delay = other.delay;
        action = other.action ? other.action->clone() : nullptr;
    }
    return *this;
}

void TimerActionData::serialize(Convinience::Buffer& buffer) const {
    ActionData::serialize(buffer);
    buffer.appendFloat(delay);
    buffer.appendU32(action ? action->serializedSize() : 0);
    if (action) action->serialize(buffer);
}

}  // namespace Zarn
