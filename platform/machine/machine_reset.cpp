// Putting the whole machine back to its start state, and the areas above it with it.
#include <functional>
#include <vector>

#include "machine/control.h"
#include "audio_parts.h"
#include "machine_parts.h"
#include "reset_hooks.h"

namespace machine {
namespace {
std::vector<std::function<void()>>& AreaHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}
}  // namespace

namespace detail {
void ResetMachineState() {
    ResetDisplays();  // first: the cursor starts in the middle of the desktop
    ResetInput();
    ResetMessageBoxes();
    ResetFrames();
    ResetWaiting();
    ResetObjectLedger();
    ResetRunSettings();
    ResetReportFields();
    ResetFailures();
    ResetAudio();
}
}  // namespace detail

namespace control {

void Reset() {
    // The areas first: they may still hold windows or objects that count against the ledger.
    for (const auto& hook : AreaHooks()) hook();
    detail::ResetClock();
    detail::ResetDebugOutput();
    detail::ResetShellRequests();
    detail::ResetMachineState();
}

void AtReset(std::function<void()> hook) { AreaHooks().push_back(std::move(hook)); }

}  // namespace control
}  // namespace machine
