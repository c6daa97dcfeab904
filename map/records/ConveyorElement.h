#pragma once

#include "map/records/MapElement.h"

namespace Zarn {

// TileNumberedMapElement, then u8 direction (0 to 3, one of four axis
// directions) and f32 speed (the belt speed). 23 bytes.
class ConveyorElement : public TileNumberedMapElement {
    ZARN_RECORD_CLONE(ConveyorElement)
public:
    ConveyorElement() = default;
    explicit ConveyorElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return TileNumberedMapElement::serializedSize() + 5; }

    u8 direction = 0;
    float speed = 0.0f;
};

}  // namespace Zarn
