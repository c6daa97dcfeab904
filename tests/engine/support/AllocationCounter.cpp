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

// The replaced global allocation functions, every plain form of them, over
// malloc and free (a sanitizer's own forms must not meet ours: what one
// allocates the other would free). The aligned forms stay the library's.
namespace {
void* allocate(std::size_t size) noexcept {
    if (t_counters > 0) ++t_allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* allocateOrThrow(std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
