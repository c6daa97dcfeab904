#pragma once

#include <memory>
#include <vector>

#include "foundation/ByteReader.h"
#include "map/records/ActionData.h"

namespace Zarn {

// An owned list of action records; copies copy the records.
class ActionList : public std::vector<std::unique_ptr<ActionData>> {
public:
    ActionList() = default;
    ActionList(const ActionList& other);
    ActionList& operator=(const ActionList& other);
    ActionList(ActionList&&) = default;
    ActionList& operator=(ActionList&&) = default;

    // The size of the list without lengths: 4 + the records' sizes.
    u32 serializedSize() const;
    // The size of the list with lengths: 4 + (4 + record size) per record.
    u32 framedSerializedSize() const;
    // u32 count, then the records back to back.
    void serialize(Convinience::Buffer& buffer) const;
    // u32 count, then per record its u32 size and its bytes.
    void serializeFramed(Convinience::Buffer& buffer) const;
};

// Makes action records from their bytes by the action ID in their first word.
// Stateless.
class ActionDataFactory {
public:
    // Timers nested deeper than this are refused as a bad map.
    static constexpr u32 maxNestingDepth = 16;

    // Reads one action record. Throws Convinience::Error "invalid action" for
    // action ID 3 and IDs above 38, and "bad map" for timers nested past
    // maxNestingDepth; ReadPastEndError when the bytes end early.
    // depth: how many timers enclose the action.
    static std::unique_ptr<ActionData> make(Convinience::ByteReader& reader, u32 depth = 0);
    // u32 count, then the records back to back.
    static ActionList readList(Convinience::ByteReader& reader);
    // u32 count, then per record a u32 length (not used) and the record; each
    // record is read to its own size, whatever the stored length says.
    static ActionList readFramedList(Convinience::ByteReader& reader);
};

}  // namespace Zarn
