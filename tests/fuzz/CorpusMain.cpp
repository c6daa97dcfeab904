// Runs a fuzz target once over every file of its corpus folder (argv[1]).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/FileUtils.h"
#include "support/TestEnvironment.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    LLVMFuzzerInitialize(&argc, &argv);
    cocos2d::FileUtils::getInstance()->setWritablePath(zarn_test::tempDir());
    int count = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], ec)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++count;
    }
    std::filesystem::remove_all(zarn_test::tempDir(), ec);
    std::printf("%d corpus inputs ran\n", count);
    return count > 0 ? 0 : 1;
}
