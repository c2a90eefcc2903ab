// The run settings: how many frames the run lasts, where its report goes, and the environment
// variables that set them up for a run of the program.
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "machine/audio.h"
#include "machine/control.h"
#include "machine/machine.h"
#include "machine_parts.h"

namespace machine {
namespace {

struct RunState {
    uint64_t frameLimit = 0;
    bool closeRequested = false;
    bool hasDirect3D9 = true;
    std::string reportPath;
};

RunState& State() {
    static RunState state;
    return state;
}

std::chrono::steady_clock::time_point& RunStart() {
    static std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    return start;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool ReadCount(const std::string& text, uint64_t& value) {
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// "1,60,120" or "1 60 120".
bool ReadFrameList(std::string text, std::vector<uint64_t>& frames) {
    for (char& c : text)
        if (c == ',') c = ' ';
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        uint64_t frame = 0;
        if (!ReadCount(word, frame) || frame == 0) return false;
        frames.push_back(frame);
    }
    return true;
}

}  // namespace

bool CloseRequested() { return State().closeRequested; }
bool HasDirect3D9() { return State().hasDirect3D9; }

bool ConfigureFromEnvironment(std::string& error) {
    if (!detail::ChooseBackend(Environment("MORVATH_MACHINE"), error)) return false;
    if (std::string frames = Environment("MORVATH_FRAMES"); !frames.empty()) {
        uint64_t limit = 0;
        if (!ReadCount(frames, limit)) {
            error = "MORVATH_FRAMES: not a frame count: \"" + frames + "\"";
            return false;
        }
        control::SetFrameLimit(limit);
    }
    if (std::string direct3d = Environment("MORVATH_DIRECT3D"); !direct3d.empty()) {
        if (direct3d != "none" && direct3d != "available") {
            error = "MORVATH_DIRECT3D: expected none or available, not \"" + direct3d + "\"";
            return false;
        }
        control::SetDirect3D9Available(direct3d == "available");
    }
    if (std::string report = Environment("MORVATH_REPORT"); !report.empty()) control::SetReportPath(report);
    if (std::string audio = Environment("MORVATH_AUDIO"); !audio.empty()) {
        if (audio != "none" && audio != "auto") {
            error = "MORVATH_AUDIO: expected auto or none, not \"" + audio + "\"";
            return false;
        }
        control::SetAudioDeviceAllowed(audio == "auto");
    }
    if (std::string wave = Environment("MORVATH_AUDIO_OUT"); !wave.empty()) control::SetAudioOutputPath(wave);
    if (std::string folder = Environment("MORVATH_CAPTURE"); !folder.empty()) {
        std::vector<uint64_t> frames;
        if (!ReadFrameList(Environment("MORVATH_CAPTURE_FRAMES"), frames)) {
            error = "MORVATH_CAPTURE_FRAMES: expected frame numbers from 1, separated by commas";
            return false;
        }
        control::SetCapture(folder, frames);
    }
    if (std::string script = Environment("MORVATH_INPUT"); !script.empty()) {
        std::ifstream in(script, std::ios::binary);
        if (!in) {
            error = "MORVATH_INPUT: cannot read \"" + script + "\"";
            return false;
        }
        std::ostringstream text;
        text << in.rdbuf();
        std::string reason;
        if (!control::LoadInputScript(text.str(), reason)) {
            error = script + ": " + reason;
            return false;
        }
    }
    return true;
}

namespace detail {
uint64_t FrameLimit() { return State().frameLimit; }
void MarkCloseRequested() { State().closeRequested = true; }
const std::string& ReportPath() { return State().reportPath; }
void ResetRunSettings() { State() = RunState{}; }

double RunSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - RunStart()).count();
}
}  // namespace detail

namespace control {
void SetFrameLimit(uint64_t frames) { State().frameLimit = frames; }
void SetReportPath(const std::string& path) { State().reportPath = path; }
void SetDirect3D9Available(bool available) { State().hasDirect3D9 = available; }
void StartRunClock() { RunStart() = std::chrono::steady_clock::now(); }
}  // namespace control
}  // namespace machine
