#pragma once

#include <vector>

#include "map/records/TrapElement.h"

namespace Zarn {

// A trap group record (ID 52): TrapElement, then
// | sequential    | u8          | non-zero: the group steps through its members |
// | stepDelay     | f32         | replaces the group's step delay |
// | memberNumbers | list of u32 | the trapNumbers of the members |
// 35 + 4n bytes with no covered cells.
class GroupedTrapElement : public TrapElement {
    ZARN_RECORD_CLONE(GroupedTrapElement)
public:
    GroupedTrapElement() = default;
    explicit GroupedTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return TrapElement::serializedSize() + 5 + Convinience::u32VectorSize(memberNumbers);
    }

    u8 sequential = 0;
    float stepDelay = 0.0f;
    std::vector<u32> memberNumbers;
};

// ID 53: + f32 sequenceDelay, the delay before the first member starts.
class SequentialGroupedIntervalTrapElement : public GroupedTrapElement {
    ZARN_RECORD_CLONE(SequentialGroupedIntervalTrapElement)
public:
    SequentialGroupedIntervalTrapElement() = default;
    explicit SequentialGroupedIntervalTrapElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return GroupedTrapElement::serializedSize() + 4; }

    float sequenceDelay = 0.0f;
};

}  // namespace Zarn
