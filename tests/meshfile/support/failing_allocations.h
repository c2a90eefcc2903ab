// Allocations of this test program that can be made to fail, as the system's own allocations (which
// use the non-throwing forms of new) would on a machine out of memory: the nth non-throwing array
// allocation from now, or the next non-throwing allocation of a given size (a CXFrame, a CXMesh).
// Each armed failure falls once.
#pragma once

#include <cstddef>

namespace meshfile_test {

void FailArrayAllocation(unsigned nth);
void FailAllocationOfSize(std::size_t bytes);
// Disarms what is armed; true when an armed failure had not fallen yet.
bool StopFailingAllocations();

}  // namespace meshfile_test
