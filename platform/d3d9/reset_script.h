// The scripted result of the next Reset (control::FailNextReset), forgotten by the area's reset.
#pragma once

namespace d3d9 {
void ForgetResetScript();
}  // namespace d3d9
