// The program's operator new and delete, on malloc and free so that every block pairs with its release
// whatever form made it.
#include "failing_allocations.h"

#include <cstdlib>
#include <new>

namespace meshfile_test {
namespace {

unsigned g_arrayFailAt = 0;    // 0: never; otherwise the array allocations left until the one that fails
std::size_t g_failSize = 0;    // 0: never; otherwise the size whose next allocation fails

void* Allocate(std::size_t size) { return std::malloc(size ? size : 1); }

bool SizeFails(std::size_t size) {
    if (g_failSize == 0 || size != g_failSize) return false;
    g_failSize = 0;
    return true;
}

}  // namespace

void FailArrayAllocation(unsigned nth) { g_arrayFailAt = nth; }
void FailAllocationOfSize(std::size_t bytes) { g_failSize = bytes; }
bool StopFailingAllocations() {
    const bool waiting = g_arrayFailAt > 0 || g_failSize > 0;
    g_arrayFailAt = 0;
    g_failSize = 0;
    return waiting;
}

}  // namespace meshfile_test

void* operator new(std::size_t size) {
    if (void* p = meshfile_test::Allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (meshfile_test::SizeFails(size)) return nullptr;
    return meshfile_test::Allocate(size);
}

void* operator new[](std::size_t size) {
    if (void* p = meshfile_test::Allocate(size)) return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (meshfile_test::g_arrayFailAt > 0 && --meshfile_test::g_arrayFailAt == 0) return nullptr;
    if (meshfile_test::SizeFails(size)) return nullptr;
    return meshfile_test::Allocate(size);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
