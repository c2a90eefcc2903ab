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
    std::vector<uint64_t> tried;  // the listed frames the capture was made for, written or not
    bool writeFailed = false;
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
    if (WritePng(frame, path, error)) {
        s.written.push_back(path);
        return;
    }
    std::fprintf(stderr, "[machine] cannot write %s: %s\n", path.c_str(), error.c_str());
    s.writeFailed = true;
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
        std::find(s.captureFrames.begin(), s.captureFrames.end(), s.presented) != s.captureFrames.end()) {
        s.tried.push_back(s.presented);
        Capture(*s.last, "frame_" + std::to_string(s.presented) + ".png");
    }
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

bool FinishCapture() {
    FrameState& s = State();
    if (s.captureFolder.empty()) return true;
    if (s.captureFrames.empty()) {
        if (s.last)
            Capture(*s.last, "last.png");
        else
            std::fprintf(stderr, "MORVATH_CAPTURE: the run showed no frame, so no last.png was written\n");
        return !s.writeFailed;
    }
    // The listed frames the run never reached, or reached without showing a new picture, are named.
    std::vector<uint64_t> unreached, unshown;
    for (uint64_t frame : s.captureFrames) {
        if (frame > s.presented)
            unreached.push_back(frame);
        else if (std::find(s.tried.begin(), s.tried.end(), frame) == s.tried.end())
            unshown.push_back(frame);
    }
    if (!unreached.empty())
        std::fprintf(stderr, "MORVATH_CAPTURE_FRAMES: %s never presented (the run presented %llu)\n",
                     FrameNumbers(unreached, "was", "were").c_str(), static_cast<unsigned long long>(s.presented));
    if (!unshown.empty())
        std::fprintf(stderr, "MORVATH_CAPTURE_FRAMES: %s presented without a new picture, so not written\n",
                     FrameNumbers(unshown, "was", "were").c_str());
    return !s.writeFailed;
}

std::string FrameNumbers(const std::vector<uint64_t>& frames, const char* one, const char* several) {
    std::string text = frames.size() == 1 ? "frame " : "frames ";
    for (size_t i = 0; i < frames.size(); ++i)
        text += (i == 0 ? "" : i + 1 == frames.size() ? " and " : ", ") + std::to_string(frames[i]);
    return text + " " + (frames.size() == 1 ? one : several);
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
