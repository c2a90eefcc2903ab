// The machine's clock: the performance counter, the millisecond timer and Sleep.
// Fixed mode (the default) makes a run reproducible: the counter moves on by a small step at each
// read, by one frame at each presented frame and by the slept time at each Sleep. Real mode follows the
// steady clock and really sleeps. MORVATH_CLOCK = "fixed" or "real" chooses the mode at reset.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "machine/control.h"
#include "machine/machine.h"
#include "reset_hooks.h"

namespace machine {
namespace {

constexpr int64_t kFrequency = 10'000'000;           // ticks per second
constexpr int64_t kTicksPerMillisecond = kFrequency / 1000;
constexpr int64_t kStartCounter = 1000 * kFrequency;  // 1,000 s: the counter never reads 0
constexpr int64_t kDefaultReadStep = kFrequency / 1'000'000;  // 1 microsecond
constexpr int64_t kDefaultFrameStep = (kFrequency + 30) / 60;  // 1/60 s, rounded

struct ClockState {
    control::ClockMode mode = control::ClockMode::Fixed;
    bool counterAvailable = true;
    int64_t counter = kStartCounter;  // fixed mode: the next reading; real mode: reading at `origin`
    int64_t readStep = kDefaultReadStep;
    int64_t frameStep = kDefaultFrameStep;
    int64_t millisecondOffset = 0;  // added to the counter's milliseconds (SetMilliseconds)
    std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
    std::vector<uint32_t> sleeps;
};

std::mutex g_mutex;

control::ClockMode ModeFromEnvironment() {
    const char* value = std::getenv("MORVATH_CLOCK");
    if (value == nullptr || *value == '\0' || std::strcmp(value, "fixed") == 0) return control::ClockMode::Fixed;
    if (std::strcmp(value, "real") == 0) return control::ClockMode::Real;
    std::fprintf(stderr, "MORVATH_CLOCK: unknown value \"%s\" (use fixed or real); using fixed\n", value);
    return control::ClockMode::Fixed;
}

ClockState& State() {
    static ClockState state = [] {
        ClockState s;
        s.mode = ModeFromEnvironment();
        return s;
    }();
    return state;
}

// The counter never goes below 1, whatever a test sets.
int64_t AtLeastOne(int64_t ticks) { return ticks < 1 ? 1 : ticks; }

// The current reading without moving the fixed clock on. Caller holds the mutex.
int64_t PeekCounter(const ClockState& s) {
    if (s.mode == control::ClockMode::Fixed) return s.counter;
    auto elapsed = std::chrono::steady_clock::now() - s.origin;
    auto ticks = std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, kFrequency>>>(elapsed);
    return AtLeastOne(s.counter + ticks.count());
}

// Rebases the real clock so that it reads `ticks` now. Caller holds the mutex.
void SetReading(ClockState& s, int64_t ticks) {
    s.counter = AtLeastOne(ticks);
    s.origin = std::chrono::steady_clock::now();
}

}  // namespace

int64_t CounterFrequency() {
    std::lock_guard lock(g_mutex);
    return State().counterAvailable ? kFrequency : 0;
}

int64_t ReadCounter() {
    std::lock_guard lock(g_mutex);
    ClockState& s = State();
    int64_t reading = PeekCounter(s);
    if (s.mode == control::ClockMode::Fixed) s.counter = AtLeastOne(s.counter + s.readStep);
    return reading;
}

uint32_t ReadMilliseconds() {
    std::lock_guard lock(g_mutex);
    const ClockState& s = State();
    return static_cast<uint32_t>(PeekCounter(s) / kTicksPerMillisecond + s.millisecondOffset);
}

void SleepFor(uint32_t milliseconds) {
    control::ClockMode mode;
    {
        std::lock_guard lock(g_mutex);
        ClockState& s = State();
        s.sleeps.push_back(milliseconds);
        mode = s.mode;
        if (mode == control::ClockMode::Fixed) s.counter += static_cast<int64_t>(milliseconds) * kTicksPerMillisecond;
    }
    if (mode == control::ClockMode::Real) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace detail {

void AdvanceClockForFrame() {
    std::lock_guard lock(g_mutex);
    ClockState& s = State();
    if (s.mode == control::ClockMode::Fixed) s.counter = AtLeastOne(s.counter + s.frameStep);
}

void ResetClock() {
    std::lock_guard lock(g_mutex);
    State() = ClockState{};
    State().mode = ModeFromEnvironment();
}

}  // namespace detail

namespace control {

void SetClockMode(ClockMode mode) {
    std::lock_guard lock(g_mutex);
    ClockState& s = State();
    int64_t now = PeekCounter(s);
    s.mode = mode;
    SetReading(s, now);  // the switch keeps the current reading
}

ClockMode GetClockMode() {
    std::lock_guard lock(g_mutex);
    return State().mode;
}

void SetCounter(int64_t ticks) {
    std::lock_guard lock(g_mutex);
    SetReading(State(), ticks);
}

void AdvanceCounter(int64_t ticks) {
    std::lock_guard lock(g_mutex);
    ClockState& s = State();
    SetReading(s, PeekCounter(s) + ticks);
}

void SetCounterReadStep(int64_t ticks) {
    std::lock_guard lock(g_mutex);
    State().readStep = ticks < 0 ? 0 : ticks;
}

void SetFrameStep(int64_t ticks) {
    std::lock_guard lock(g_mutex);
    State().frameStep = ticks < 0 ? 0 : ticks;
}

void SetCounterAvailable(bool available) {
    std::lock_guard lock(g_mutex);
    State().counterAvailable = available;
}

bool CounterAvailable() {
    std::lock_guard lock(g_mutex);
    return State().counterAvailable;
}

void SetMilliseconds(uint32_t ms) {
    std::lock_guard lock(g_mutex);
    ClockState& s = State();
    s.millisecondOffset = static_cast<int64_t>(ms) - PeekCounter(s) / kTicksPerMillisecond;
}

std::vector<uint32_t> Sleeps() {
    std::lock_guard lock(g_mutex);
    return State().sleeps;
}

}  // namespace control
}  // namespace machine
