#pragma once

#include "map/records/MapElement.h"

namespace Zarn {

// A coin: CombinedElement<FreeNumberedMapElement, CircleSubElement>, then u32
// value, the money one pick-up is worth. 29 bytes.
class CoinElement : public CombinedElement<FreeNumberedMapElement, CircleSubElement> {
    ZARN_RECORD_CLONE(CoinElement)
public:
    CoinElement() = default;
    explicit CoinElement(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return CombinedElement::serializedSize() + 4; }

    u32 value = 0;
};

}  // namespace Zarn
