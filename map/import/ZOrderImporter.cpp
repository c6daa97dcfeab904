#include "map/import/ZOrderImporter.h"

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "map/import/MapStreamReader.h"
#include "map/records/MapErrors.h"

namespace Zarn {

void ZOrderImporter::import(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    if (in.atEnd()) return;
    const u32 count = in.readU32();
    if (count == 0) return;
    // The smallest record: its length, zOrderId, n, the NUL and the two bytes.
    in.checkCount(count, 4 + 4 + 4 + 1 + 2);
    try {
        for (u32 i = 0; i < count; ++i) {
            const std::vector<u8> bytes = in.readBytes(in.readU32());
            Convinience::ByteReader reader(bytes);
            zOrders_.emplace_back(reader);
        }
    } catch (const Convinience::ReadPastEndError&) {
        in.fail();
    }
}

}  // namespace Zarn
