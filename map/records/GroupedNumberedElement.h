#pragma once

#include <vector>

#include "map/records/MapElement.h"

namespace Zarn {

// A logical element (IDs 141, 142) that groups numbered elements: MapElement, then
// u32 number, u8 groupFlag, f32 groupTime, list of u32 memberNumbers. 22 + 4n bytes.
class GroupedNumberedElement : public MapElement {
    ZARN_RECORD_CLONE(GroupedNumberedElement)
public:
    GroupedNumberedElement() = default;
    explicit GroupedNumberedElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return MapElement::serializedSize() + 9 + Convinience::u32VectorSize(memberNumbers);
    }

    u32 number = 0;
    u8 groupFlag = 0;
    float groupTime = 0.0f;
    std::vector<u32> memberNumbers;
};

}  // namespace Zarn
