#pragma once

#include "map/records/MapElement.h"

namespace Zarn {

// TileNumberedMapElement, then
// | startHidden | u8  | non-zero: the pad state's value is 1 at construction |
// | padValue    | u8  | carried unchanged |
// | startValue  | u8  | the pad's enabled flag at construction and reset (1 in a new record) |
// | padTime     | f32 | carried unchanged (1.0 in a new record) |
// 25 bytes.
class ElevatorPadElement : public TileNumberedMapElement {
    ZARN_RECORD_CLONE(ElevatorPadElement)
public:
    ElevatorPadElement() = default;
    explicit ElevatorPadElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return TileNumberedMapElement::serializedSize() + 7; }

    u8 startHidden = 0;
    u8 padValue = 0;
    u8 startValue = 1;
    float padTime = 1.0f;
};

}  // namespace Zarn
