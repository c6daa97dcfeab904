#pragma once

#include <string>

namespace zarn_test {

// A virtual X display for tests that open a window: the first call starts
// Xvfb (it picks a free display number itself) and points DISPLAY at it; the
// server is stopped when the process exits. Empty on success, otherwise why
// there is no display (no Xvfb installed, or it did not start).
std::string startVirtualDisplay();

// While alive, allocations are not checked for leaks (sanitised builds): for
// opening SDL's window, whose X11 and GL drivers keep state until the process
// ends.
class DriverAllocations {
public:
    DriverAllocations();
    ~DriverAllocations();
    DriverAllocations(const DriverAllocations&) = delete;
    DriverAllocations& operator=(const DriverAllocations&) = delete;
};

}  // namespace zarn_test
