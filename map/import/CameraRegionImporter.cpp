#include "map/import/CameraRegionImporter.h"

#include "foundation/ByteReader.h"
#include "foundation/Error.h"
#include "map/import/MapStreamReader.h"
#include "map/records/MapErrors.h"

namespace Zarn {

void CameraRegionImporter::import(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    if (in.atEnd()) return;
    const std::vector<u8> bytes = in.readBytes(in.readU32());
    Convinience::ByteReader reader(bytes);
    try {
        // A region is at least its Rect and its transition count.
        const u32 regionCount = reader.readCount(12 + 4);
        for (u32 i = 0; i < regionCount; ++i) {
            cameraRegions_.regions.emplace_back(reader);
            const u32 transitionCount = reader.readCount(16);
            std::vector<TransitionRegion>& transitions = cameraRegions_.transitions.emplace_back();
            transitions.reserve(transitionCount);
            for (u32 t = 0; t < transitionCount; ++t) transitions.emplace_back(reader);
        }
    } catch (const Convinience::ReadPastEndError&) {
        in.fail();
    }
}

}  // namespace Zarn
