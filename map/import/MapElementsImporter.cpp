#include "map/import/MapElementsImporter.h"

#include "map/import/MapStreamReader.h"
#include "map/records/MapErrors.h"

namespace Zarn {

void MapElementsImporter::import(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    if (in.atEnd()) return;
    const u32 count = in.readU32();
    // Every record is its length and at least its 9-byte header.
    in.checkCount(count, 4 + 9);
    for (u32 i = 0; i < count; ++i) mapElements_.push_back(factory_.make(stream));
}

}  // namespace Zarn
