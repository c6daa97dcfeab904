// fuzz-links: map
// Imports arbitrary bytes as a whole map file. Every input either loads or is
// refused with a Convinience::Error; any other exception, crash, leak or
// sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#define BOOST_LOG_DYN_LINK 1
#include <boost/log/core.hpp>

#include "foundation/Error.h"
#include "map/import/MapComponentsImporter.h"

// The importers log every section they read; the fuzzer runs quietly.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    boost::log::core::get()->set_logging_enabled(false);
    return 0;
}

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
