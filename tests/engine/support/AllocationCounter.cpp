#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {
// Per thread, so that threads a test starts do not disturb the count of the
// thread being measured. Plain values: usable before any constructor runs.
thread_local std::size_t t_allocations = 0;
thread_local int t_counters = 0;
}  // namespace

namespace zarn_test {

AllocationCounter::AllocationCounter() : start_(t_allocations) {
    ++t_counters;
}

AllocationCounter::~AllocationCounter() {
    --t_counters;
}

std::size_t AllocationCounter::count() const {
    return t_allocations - start_;
}

void AllocationCounter::reset() {
    start_ = t_allocations;
}

}  // namespace zarn_test

// The replaced global allocation functions: malloc and free underneath (the
// library's array, nothrow and sized forms end in these two).
void* operator new(std::size_t size) {
    if (t_counters > 0) ++t_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
