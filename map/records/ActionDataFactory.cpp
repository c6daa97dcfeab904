#include "map/records/ActionDataFactory.h"

#include "foundation/Error.h"
#include "map/records/MapErrors.h"

namespace Zarn {

ActionList::ActionList(const ActionList& other) : std::vector<std::unique_ptr<ActionData>>() {
    reserve(other.size());
    for (const auto& action : other) push_back(action->clone());
}

ActionList& ActionList::operator=(const ActionList& other) {
    if (this != &other) {
        ActionList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

u32 ActionList::serializedSize() const {
    u32 size = 4;
    for (const auto& action : *this) size += action->serializedSize();
    return size;
}

u32 ActionList::framedSerializedSize() const {
    return serializedSize() + 4 * static_cast<u32>(this->size());
}

void ActionList::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(size()));
    for (const auto& action : *this) action->serialize(buffer);
}

void ActionList::serializeFramed(Convinience::Buffer& buffer) const {
    buffer.appendU32(static_cast<u32>(size()));
    for (const auto& action : *this) {
        buffer.appendU32(action->serializedSize());
        action->serialize(buffer);
    }
}

std::unique_ptr<ActionData> ActionDataFactory::make(Convinience::ByteReader& reader, u32 depth) {
    Convinience::ByteReader peek = reader;
    const u32 actionId = peek.readU32();
    switch (actionId) {
        case 34:
        case 37:
            return std::make_unique<ActionData>(reader);
        case 0:
        case 1:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
        case 19:
        case 20:
        case 24:
        case 25:
        case 26:
        case 27:
        case 28:
        case 29:
        case 30:
        case 38:
            return std::make_unique<NumberActionData>(reader);
        case 17:
        case 18:
            return std::make_unique<TwoNumbersActionData>(reader);
        case 14:
        case 15:
        case 21:
        case 22:
        case 31:
        case 32:
            return std::make_unique<NumbersActionData>(reader);
        case 36:
            return std::make_unique<FloatActionData>(reader);
        case 2:
        case 23:
            return std::make_unique<MoveSteerableData>(reader);
        case 33:
            return std::make_unique<PositionsActionData<GeometryLib::FPoint>>(reader);
        case 35:
            return std::make_unique<PositionsActionData<GeometryLib::Point>>(reader);
        case 16:
            if (depth >= maxNestingDepth) throw Convinience::Error(mapError::badMap);
            return std::make_unique<TimerActionData>(reader, depth);
        default:
            throw Convinience::Error(mapError::unknownAction);
    }
}

ActionList ActionDataFactory::readList(Convinience::ByteReader& reader) {
    const u32 count = reader.readCount(4);
    ActionList list;
    for (u32 i = 0; i < count; ++i) list.push_back(make(reader));
    return list;
}

ActionList ActionDataFactory::readFramedList(Convinience::ByteReader& reader) {
    const u32 count = reader.readCount(8);
    ActionList list;
    for (u32 i = 0; i < count; ++i) {
        (void)reader.readU32();
        list.push_back(make(reader));
    }
    return list;
}

}  // namespace Zarn
