#pragma once

#include <string>

namespace zarn_test {

// The temporary folder that this test process uses as the writable directory
// (and where the log goes). Made before the first test runs; removed at exit.
const std::string& tempDir();

}  // namespace zarn_test
