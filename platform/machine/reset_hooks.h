// Each part of the machine puts itself back to its start state; control::Reset calls them all.
#pragma once

namespace machine::detail {
void ResetClock();
void ResetDebugOutput();
void ResetShellRequests();
void ResetMachineState();  // input, message boxes, displays, frames, run settings
// The clock's part of a presented frame (the fixed clock moves on by one frame); FramePresented calls it.
void AdvanceClockForFrame();
}  // namespace machine::detail
