#include "support/TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zarn_test {

const std::string& tempDir() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zarn-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
        return pattern;
    }();
    return dir;
}

}  // namespace zarn_test
