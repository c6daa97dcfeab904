#pragma once

#include <cstddef>

namespace zarn_test {

// Counts the allocations (calls of the global operator new) that the calling
// thread makes while the counter lives. The engine tests and benchmarks link
// a replaced operator new that feeds it; other threads are not counted.
class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    // Allocations since the counter was made (or last reset).
    std::size_t count() const;
    void reset();

private:
    std::size_t start_;
};

}  // namespace zarn_test
