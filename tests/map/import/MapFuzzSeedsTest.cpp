#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../support/MapImportTestSupport.h"
#include "support/map/FixtureMaps.h"

using namespace zarn_test;

// The fuzzer's seed maps are whole, valid maps. With ZARN_WRITE_MAP_SEEDS set
// to a folder, the test also writes them there (tests/fuzz/map/MapImport/).
TEST(MapFuzzSeeds, EverySeedIsAMapThatLoads) {
    const char* out = std::getenv("ZARN_WRITE_MAP_SEEDS");
    for (const auto& [name, bytes] : mapFuzzSeeds()) {
        Zarn::GameMap map;
        EXPECT_EQ(importInto(map, bytes), "no error") << name;
        if (out != nullptr) {
            std::ofstream file(std::filesystem::path(out) / name, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            ASSERT_TRUE(file.good()) << name;
        }
    }
}
