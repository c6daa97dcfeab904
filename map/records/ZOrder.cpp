#include "map/records/ZOrder.h"

#include <algorithm>

#include "foundation/Error.h"
#include "map/records/MapErrors.h"

namespace Zarn {

ZOrder::ZOrder(Convinience::ByteReader& reader) {
    zOrderId = reader.readU32();
    const u32 n = reader.readU32();
    reader.require(n);
    const char* chars = reinterpret_cast<const char*>(reader.current());
    const char* nul = std::find(chars, chars + n, '\0');
    if (nul == chars + n) throw Convinience::Error(mapError::badMap);
    name.assign(chars, nul);
    reader.skip(n);
    zByteA = reader.readU8();
    zByteB = reader.readU8();
}

void ZOrder::serialize(Convinience::Buffer& buffer) const {
    const u32 nameLength = static_cast<u32>(name.size());
    buffer.appendU32(nameLength + 11);
    buffer.appendU32(zOrderId);
    buffer.appendU32(nameLength + 1);
    buffer.append(name.data(), nameLength);
    buffer.appendU8(0);
    buffer.appendU8(zByteA);
    buffer.appendU8(zByteB);
}

}  // namespace Zarn
