#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Interfaces.h"
#include "map/records/SectionHeaders.h"

namespace Zarn {

// The camera regions of a map and, at each region's index, its transition regions.
struct CameraRegions {
    std::vector<GeometryLib::Rect> regions;
    std::vector<std::vector<TransitionRegion>> transitions;
};

// Reads the camera-region section: u32 byte length L, then L bytes holding
// u32 regionCount and per region its Rect (12 bytes), u32 transitionCount and
// that many TransitionRegion records (16 bytes each). A stream at its end skips
// the section; counts that the L bytes do not hold throw "bad map".
class CameraRegionImporter : public Convinience::StreamImporter {
public:
    // The regions belong to the GameMap and outlive the importer.
    explicit CameraRegionImporter(CameraRegions& cameraRegions) : cameraRegions_(cameraRegions) {}

    void import(std::istream& stream) override;

private:
    CameraRegions& cameraRegions_;
};

}  // namespace Zarn
