// What happens when the program would block: the test's idle hook, and the watchdog that turns a
// wait that can never end into a loud failure.
#include <cstdio>
#include <cstdlib>

#include "machine/control.h"
#include "machine/machine.h"
#include "machine_parts.h"

namespace machine {
namespace {

constexpr uint64_t kDefaultWatchdogLimit = 10'000;

struct WaitState {
    control::IdleHook hook;
    uint64_t limit = kDefaultWatchdogLimit;
    control::WatchdogHandler handler;
    uint64_t idleWithoutProgress = 0;
};

WaitState& State() {
    static WaitState state;
    return state;
}

}  // namespace

bool RunIdleHook() {
    if (!State().hook) return false;
    control::IdleHook hook = State().hook;  // the hook may replace itself while it runs
    hook();
    return true;
}

bool NoteIdleWithoutProgress() {
    WaitState& s = State();
    if (++s.idleWithoutProgress < s.limit) return false;
    const uint64_t count = s.idleWithoutProgress;
    s.idleWithoutProgress = 0;
    std::fprintf(stderr, "[machine] watchdog: the program waited %llu times in a row with nothing to take\n",
                 static_cast<unsigned long long>(count));
    std::fflush(stderr);
    if (!s.handler) std::abort();
    control::WatchdogHandler handler = s.handler;
    handler(count);
    return true;
}

void NoteProgress() { State().idleWithoutProgress = 0; }

namespace detail {
void ResetWaiting() { State() = WaitState{}; }
}  // namespace detail

namespace control {
void SetIdleHook(IdleHook hook) { State().hook = std::move(hook); }
void SetWatchdog(uint64_t limit, WatchdogHandler handler) {
    State().limit = limit == 0 ? 1 : limit;
    State().handler = std::move(handler);
}
}  // namespace control
}  // namespace machine
