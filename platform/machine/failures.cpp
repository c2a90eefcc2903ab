// Failure injection: armed failures, counted uses, and the record of what fell. One lock guards it
// because the sound mixer's thread asks too; a count of armed failures keeps the check cheap when
// nothing is armed.
#include "machine/failures.h"

#include <atomic>
#include <mutex>

#include "machine/machine.h"
#include "machine_parts.h"

namespace machine {
namespace {

struct Failure {
    control::InjectedFailureRecord record;
    uint64_t uses = 0;  // uses of the call since the failure was armed
};

struct FailureState {
    std::mutex mutex;
    std::vector<Failure> failures;
    std::atomic<int> waiting{0};  // armed and not fired yet
};

FailureState& State() {
    static FailureState state;
    return state;
}

void Arm(Failure& failure) {
    failure.record.armed = true;
    failure.uses = 0;
    ++State().waiting;
}

}  // namespace

std::optional<uint32_t> InjectedFailure(std::string_view call) {
    FailureState& s = State();
    if (s.waiting.load(std::memory_order_relaxed) == 0) return std::nullopt;
    std::lock_guard lock(s.mutex);
    std::optional<uint32_t> answer;
    for (Failure& failure : s.failures) {
        control::InjectedFailureRecord& r = failure.record;
        if (!r.armed || r.fired || r.call != call) continue;
        if (++failure.uses < r.nth) continue;
        if (answer) {
            // Another failure fell on this use: this one falls on the next.
            failure.uses = r.nth - 1;
            continue;
        }
        r.fired = true;
        r.firedAtFrame = FramesPresented();
        --s.waiting;
        answer = r.code;
    }
    return answer;
}

namespace detail {

void ArmDueFailures() {
    FailureState& s = State();
    std::lock_guard lock(s.mutex);
    for (Failure& failure : s.failures)
        if (!failure.record.armed && failure.record.frame <= FramesPresented()) Arm(failure);
}

void ResetFailures() {
    FailureState& s = State();
    std::lock_guard lock(s.mutex);
    s.failures.clear();
    s.waiting = 0;
}

}  // namespace detail

namespace control {

void ScheduleFailure(uint64_t frame, const std::string& call, uint64_t nth, uint32_t code) {
    FailureState& s = State();
    std::lock_guard lock(s.mutex);
    Failure failure;
    failure.record.call = call;
    failure.record.nth = nth == 0 ? 1 : nth;
    failure.record.code = code;
    failure.record.frame = frame;
    s.failures.push_back(failure);
    if (frame <= FramesPresented()) Arm(s.failures.back());
}

void FailCall(const std::string& call, uint64_t nth, uint32_t code) {
    ScheduleFailure(FramesPresented(), call, nth, code);
}

std::vector<InjectedFailureRecord> InjectedFailures() {
    FailureState& s = State();
    std::lock_guard lock(s.mutex);
    std::vector<InjectedFailureRecord> records;
    for (const Failure& failure : s.failures) records.push_back(failure.record);
    return records;
}

}  // namespace control
}  // namespace machine
