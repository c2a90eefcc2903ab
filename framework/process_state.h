// The framework's process-wide state (pause count, the fatal-report flag, the timer, the statistics
// values, the application pointer) lives for the whole run. Tests run many applications in one process
// and put it back to its load-time values between cases with this one call.
#pragma once

void ResetFrameworkProcessState();

namespace framework_detail {
void ResetTimerState();
void ResetStatsState();
}  // namespace framework_detail
