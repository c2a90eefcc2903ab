// Failure injection: a named platform call made to fail at its nth use with a chosen code. Every area
// asks the same check at each use of a call that can fail; tests arm failures through the control
// functions below, a run through the input script ("<frame> fail <call> <nth> <code>"), and the report
// lists every failure armed ("injected_failures").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace machine {

// One use of the named call ("DirectSoundCreate8", "IDirectSoundBuffer::Lock", "mmioDescend",
// "alloc:dsound", ...): answers the code to fail with when an armed failure falls on this use, or
// nothing when the call goes ahead. Cheap when nothing is armed; safe from any thread.
std::optional<uint32_t> InjectedFailure(std::string_view call);

// Every call name some area asks about, and whether a name is one of them (a script's fail line must
// name one).
std::vector<std::string_view> FailureCallNames();
bool IsFailureCallName(std::string_view call);

}  // namespace machine

namespace machine::control {

// Arms a failure: the nth use of the call from now (1 = the next one) answers the code. Each armed
// failure falls once; several may be armed for one call.
void FailCall(const std::string& call, uint64_t nth, uint32_t code);
// The same, armed once this many frames have been presented (at once when that is already so).
void ScheduleFailure(uint64_t frame, const std::string& call, uint64_t nth, uint32_t code);

struct InjectedFailureRecord {
    std::string call;
    uint64_t nth = 0;
    uint32_t code = 0;
    uint64_t frame = 0;        // the frame from which it was armed
    bool armed = false;        // its frame has been reached
    bool fired = false;        // its use came and answered the code
    uint64_t firedAtFrame = 0; // the presented-frame count when it fell
};
// Every failure scheduled or armed since the last Reset, in the order they were asked for.
std::vector<InjectedFailureRecord> InjectedFailures();

}  // namespace machine::control
