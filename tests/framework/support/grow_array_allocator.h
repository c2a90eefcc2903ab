// An allocator for CGrowArray's blocks that can refuse the n-th allocation and counts the blocks
// still held, installed for the scope of a test.
#pragma once

#include <cstdlib>

#include "grow_array.h"

class ScopedGrowArrayAllocator {
public:
    ScopedGrowArrayAllocator() {
        State() = {};
        SetGrowArrayAllocator(&kAllocator);
    }
    ~ScopedGrowArrayAllocator() { SetGrowArrayAllocator(nullptr); }
    ScopedGrowArrayAllocator(const ScopedGrowArrayAllocator&) = delete;
    ScopedGrowArrayAllocator& operator=(const ScopedGrowArrayAllocator&) = delete;

    // The n-th allocation from now (1 = the next one) fails; 0 = none fails.
    void FailAllocation(int n) {
        State().failAt = n == 0 ? 0 : State().allocations + n;
    }
    int Allocations() const { return State().allocations; }
    int LiveBlocks() const { return State().live; }

private:
    struct Counters {
        int allocations = 0;  // attempts, failed ones included
        int failAt = 0;
        int live = 0;
    };
    static Counters& State() {
        static Counters counters;
        return counters;
    }
    static void* Allocate(size_t bytes) {
        Counters& c = State();
        if (++c.allocations == c.failAt) return nullptr;
        ++c.live;
        return std::malloc(bytes);
    }
    static void Release(void* block) {
        --State().live;
        std::free(block);
    }
    static constexpr GrowArrayAllocator kAllocator = {Allocate, Release};
};
