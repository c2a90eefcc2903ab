// Presented frames: the count, the last frame shown, and the frames captured as PNG files.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <utility>

#include "machine/control.h"
#include "machine/machine.h"
#include "audio_parts.h"
#include "display_backend.h"
#include "machine_parts.h"
#include "reset_hooks.h"

namespace machine {
namespace {

struct FrameState {
    uint64_t presented = 0;
    std::optional<Frame> last;
    bool shownSinceLastPresent = false;
    std::string captureFolder;
    std::vector<uint64_t> captureFrames;
    std::vector<std::string> written;
    bool closeScheduled = false;
    double windowStartCpu = -1;  // the process's processor seconds when the current window began
    std::vector<double> windowCpu;
};

FrameState& State() {
    static FrameState state;
    return state;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Processor time rather than real time: what the frames cost, whatever else the machine runs. The
// first window starts at the first presented frame.
void TimeFrameWindow(FrameState& s) {
    if (s.windowStartCpu < 0) s.windowStartCpu = ProcessCpuSeconds();
    if (s.presented % detail::kFrameWindow != 0) return;
    const double now = ProcessCpuSeconds();
    s.windowCpu.push_back(now - s.windowStartCpu);
    s.windowStartCpu = now;
}

void Capture(const Frame& frame, const std::string& name) {
    FrameState& s = State();
    std::string path = s.captureFolder + "/" + name;
    std::string error;
    if (WritePng(frame, path, error)) s.written.push_back(path);
    else std::fprintf(stderr, "[machine] cannot write %s: %s\n", path.c_str(), error.c_str());
}

}  // namespace

void FramePresented() {
    detail::AdvanceClockForFrame();
    FrameState& s = State();
    ++s.presented;
    TimeFrameWindow(s);
    detail::ArmDueFailures();
    detail::AdvanceAudioForFrame();
    if (!s.captureFolder.empty() && s.last && s.shownSinceLastPresent &&
        std::find(s.captureFrames.begin(), s.captureFrames.end(), s.presented) != s.captureFrames.end())
        Capture(*s.last, "frame_" + std::to_string(s.presented) + ".png");
    s.shownSinceLastPresent = false;
    const uint64_t limit = detail::FrameLimit();
    if (limit != 0 && s.presented >= limit && !s.closeScheduled) {
        // The user closes the main window with its close button, now.
        s.closeScheduled = true;
        InputEvent close;
        close.frame = s.presented;
        close.kind = InputKind::Window;
        close.windowAction = WindowAction::Close;
        control::ScheduleInput(close);
        detail::MarkCloseRequested();
    }
}

uint64_t FramesPresented() { return State().presented; }

void ShowFrame(const Frame& frame) {
    State().last = frame;
    State().shownSinceLastPresent = true;
    if (detail::Display()) detail::Display()->ShowMainFrame(frame);
}

void ShowFrameSwapped(Frame& frame) {
    FrameState& s = State();
    if (!s.last) s.last.emplace();
    std::swap(*s.last, frame);
    s.shownSinceLastPresent = true;
    if (detail::Display()) detail::Display()->ShowMainFrame(*s.last);
}

const Frame* LastFrame() { return State().last ? &*State().last : nullptr; }

namespace detail {
void ResetFrames() { State() = FrameState{}; }

void WriteLastFrameIfAsked() {
    FrameState& s = State();
    if (!s.captureFolder.empty() && s.captureFrames.empty() && s.last) Capture(*s.last, "last.png");
}

std::vector<std::string> CapturedFileList() { return State().written; }
std::vector<double> FrameWindowCpuSeconds() { return State().windowCpu; }
}  // namespace detail

namespace control {
void SetCapture(const std::string& folder, const std::vector<uint64_t>& frames) {
    State().captureFolder = folder;
    State().captureFrames = frames;
}
std::vector<std::string> CapturedFiles() { return State().written; }
}  // namespace control
}  // namespace machine
