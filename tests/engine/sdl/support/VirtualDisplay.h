#pragma once

#include <string>

namespace zarn_test {

// A virtual X display for tests that open a window: the first call starts
// Xvfb (it picks a free display number itself) and points DISPLAY at it; the
// server is stopped when the process exits. Empty on success, otherwise why
// there is no display (no Xvfb installed, or it did not start).
std::string startVirtualDisplay();

}  // namespace zarn_test
