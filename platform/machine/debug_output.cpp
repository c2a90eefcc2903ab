// The debugger output: every text the program sends is kept in order for tests and the run report,
// and echoed to standard error when MORVATH_DEBUG_OUTPUT=stderr or a test asks for it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "machine/control.h"
#include "machine/machine.h"
#include "reset_hooks.h"

namespace machine {
namespace {

struct DebugOutputState {
    std::vector<std::string> lines;
    bool echo = false;
};

std::mutex g_mutex;

bool EchoFromEnvironment() {
    const char* value = std::getenv("MORVATH_DEBUG_OUTPUT");
    return value != nullptr && std::strcmp(value, "stderr") == 0;
}

DebugOutputState& State() {
    static DebugOutputState state = [] {
        DebugOutputState s;
        s.echo = EchoFromEnvironment();
        return s;
    }();
    return state;
}

}  // namespace

void DebugOutput(const char* text) {
    if (text == nullptr) return;
    std::lock_guard lock(g_mutex);
    DebugOutputState& s = State();
    s.lines.emplace_back(text);
    if (s.echo) {
        std::fputs(text, stderr);
        std::fflush(stderr);
    }
}

namespace detail {
void ResetDebugOutput() {
    std::lock_guard lock(g_mutex);
    State().lines.clear();
    State().echo = EchoFromEnvironment();
}
}  // namespace detail

namespace control {

std::vector<std::string> DebugLines() {
    std::lock_guard lock(g_mutex);
    return State().lines;
}

void ClearDebugLines() {
    std::lock_guard lock(g_mutex);
    State().lines.clear();
}

void SetDebugEcho(bool toStandardError) {
    std::lock_guard lock(g_mutex);
    State().echo = toStandardError;
}

}  // namespace control
}  // namespace machine
