#pragma once

#include <memory>
#include <vector>

#include "foundation/Interfaces.h"
#include "map/import/GenericMapElementFactory.h"

namespace Zarn {

// Reads the element section: a MapElementsHeader (u32 count), then count
// records, each made by the element factory. A stream at its end skips the
// section; a count the stream cannot hold throws "bad map".
class MapElementsImporter : public Convinience::StreamImporter {
public:
    // The factory and the container belong to the map's owner and outlive the importer.
    MapElementsImporter(MapElementFactory& factory, std::vector<std::unique_ptr<MapElement>>& mapElements)
        : factory_(factory), mapElements_(mapElements) {}

    void import(std::istream& stream) override;

private:
    MapElementFactory& factory_;
    std::vector<std::unique_ptr<MapElement>>& mapElements_;
};

}  // namespace Zarn
