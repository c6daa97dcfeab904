#pragma once

#include "map/records/MapElement.h"

namespace Zarn {

// A door: CombinedElement<FreeNumberedMapElement, RectSubElement> (the door's
// blocking rectangle), then u8 doorFlag (1 in a new record). 26 bytes.
class DoorElement : public CombinedElement<FreeNumberedMapElement, RectSubElement> {
    ZARN_RECORD_CLONE(DoorElement)
public:
    DoorElement() = default;
    explicit DoorElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return CombinedElement::serializedSize() + 1; }

    u8 doorFlag = 1;
};

// A door that opens for units on its sensor cells: + point list sensorCells
// (30 + 4 per cell bytes).
class AutomaticDoorElement : public DoorElement {
    ZARN_RECORD_CLONE(AutomaticDoorElement)
public:
    AutomaticDoorElement() = default;
    explicit AutomaticDoorElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override {
        return DoorElement::serializedSize() + sensorCells.serializedSize();
    }

    PointSet sensorCells;
};

}  // namespace Zarn
