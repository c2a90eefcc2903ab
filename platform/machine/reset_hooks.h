// Each part of the machine puts itself back to its start state; control::Reset calls them all.
#pragma once

namespace machine::detail {
void ResetClock();
void ResetDebugOutput();
void ResetMachineState();  // input, message boxes, displays, frames, run settings
}  // namespace machine::detail
