#include "map/records/CoinElement.h"

namespace Zarn {

CoinElement::CoinElement(Convinience::ByteReader& reader) : CombinedElement(reader) {
    value = reader.readU32();
}

void CoinElement::serialize(Convinience::Buffer& buffer) const {
    CombinedElement::serialize(buffer);
    buffer.appendU32(value);
}

}  // namespace Zarn
