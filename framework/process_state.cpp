#include "process_state.h"

#include "host_app.h"

void ResetFrameworkProcessState() {
    g_pHostApp = nullptr;
    g_pauseCount = 0;
    g_fatalReported = false;
    framework_detail::ResetTimerState();
    framework_detail::ResetStatsState();
}
