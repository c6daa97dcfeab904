// fuzz-links: map
// Imports arbitrary bytes as a whole map file. Every input either loads or is
// refused with a Convinience::Error; any other exception, crash, leak or
// sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "foundation/Error.h"
#include "map/import/MapComponentsImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    Zarn::GameMap map;
    Zarn::MapComponentsImporter importer(map);
    try {
        importer.import(stream);
    } catch (const Convinience::Error&) {
    }
    return 0;
}
