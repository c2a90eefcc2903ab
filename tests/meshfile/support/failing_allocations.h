// Array allocations of this test program that can be made to fail: the mesh's material and texture
// arrays are allocated with the non-throwing array form, which answers null from the nth such
// allocation after FailArrayAllocation(n) (once).
#pragma once

namespace meshfile_test {

void FailArrayAllocation(unsigned nth);
void StopFailingArrayAllocations();

}  // namespace meshfile_test
