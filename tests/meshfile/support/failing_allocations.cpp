// The program's array forms of operator new and delete, on malloc and free so that every array this
// program allocates pairs with its release whatever form made it.
#include "failing_allocations.h"

#include <cstdlib>
#include <new>

namespace meshfile_test {
namespace {

unsigned g_failAt = 0;  // 0: never; otherwise the allocations left until the one that fails

void* Allocate(std::size_t size) { return std::malloc(size ? size : 1); }

}  // namespace

void FailArrayAllocation(unsigned nth) { g_failAt = nth; }
void StopFailingArrayAllocations() { g_failAt = 0; }

}  // namespace meshfile_test

void* operator new[](std::size_t size) {
    if (void* p = meshfile_test::Allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (meshfile_test::g_failAt > 0 && --meshfile_test::g_failAt == 0) return nullptr;
    return meshfile_test::Allocate(size);
}

void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
