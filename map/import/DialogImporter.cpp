#include "map/import/DialogImporter.h"

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "map/import/MapStreamReader.h"
#include "map/records/MapErrors.h"

namespace Zarn {

void DialogImporter::import(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    if (in.atEnd()) return;
    const u32 length = in.readU32();
    const u32 count = in.readU32();
    const std::vector<u8> bytes = in.readBytes(length);
    Convinience::ByteReader reader(bytes);
    // Every entry is at least its two lengths, number and position.
    if (count > length / 16) in.fail();
    try {
        for (u32 i = 0; i < count; ++i) {
            DialogEntry entry(reader);
            dialogs_.emplace(entry.number, std::move(entry));
        }
    } catch (const Convinience::ReadPastEndError&) {
        in.fail();
    }
}

}  // namespace Zarn
