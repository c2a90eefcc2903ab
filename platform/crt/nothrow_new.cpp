// The runtime's non-throwing new, which the program uses wherever an allocation may fail: it answers
// null when the machine's failure injection makes "new" fail at this use. The memory comes from the
// ordinary new, so delete pairs with it as usual.
#include <new>

#include "machine/failures.h"

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (machine::InjectedFailure("new")) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (machine::InjectedFailure("new")) return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}
