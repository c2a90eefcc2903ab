// The run settings: how many frames the run lasts, where its report goes, and the environment
// variables that set them up for a run of the program. Every setting is checked, and every output path
// opened, before the run starts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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

// The capture folder: an existing folder in which a file can be made (a probe file, made and removed).
bool CheckOutputFolder(const std::string& folder, std::string& error) {
    struct stat status {};
    int problem = 0;
    if (::stat(folder.c_str(), &status) != 0) {
        problem = errno;
    } else if (!S_ISDIR(status.st_mode)) {
        problem = ENOTDIR;
    } else {
        std::string probe = folder + "/.morvath-probe-XXXXXX";
        const int fd = ::mkstemp(probe.data());
        if (fd < 0) {
            problem = errno;
        } else {
            ::close(fd);
            ::unlink(probe.c_str());
        }
    }
    if (problem == 0) return true;
    error = "MORVATH_CAPTURE: cannot write into \"" + folder + "\": " + std::strerror(problem);
    return false;
}

// A file the run writes when it ends, opened when it starts so that a path that cannot be written stops
// the run before it begins rather than losing the file after it.
struct OutputFile {
    const char* variable;
    std::string path;
    int fd = -1;
    bool created = false;
};

// Opens (or creates) every file; on the first that cannot be, closes them all, removes those it made
// and answers why. A file that was already there is emptied only once all are open, so a refused run
// leaves the files it found as they were and no file of its own; a run that ends before it writes
// leaves no stale file of an earlier run.
bool OpenOutputFiles(std::vector<OutputFile>& files, std::string& error) {
    auto refuse = [&files, &error](const OutputFile& file, int problem) {
        error = std::string(file.variable) + ": cannot write \"" + file.path + "\": " + std::strerror(problem);
        for (OutputFile& opened : files) {
            if (opened.fd < 0) continue;
            ::close(opened.fd);
            if (opened.created) ::unlink(opened.path.c_str());
        }
        return false;
    };
    for (OutputFile& file : files) {
        struct stat status {};
        const bool existed = ::stat(file.path.c_str(), &status) == 0;
        file.fd = ::open(file.path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (file.fd < 0) return refuse(file, errno);
        file.created = !existed;
    }
    for (OutputFile& file : files) {
        struct stat status {};
        if (::fstat(file.fd, &status) == 0 && S_ISREG(status.st_mode) && ::ftruncate(file.fd, 0) != 0)
            return refuse(file, errno);
    }
    for (OutputFile& file : files) ::close(file.fd);
    return true;
}

}  // namespace

bool CloseRequested() { return State().closeRequested; }
bool HasDirect3D9() { return State().hasDirect3D9; }

bool ConfigureFromEnvironment(std::string& error) {
    // Every setting is read and checked before anything is created, so a refused run leaves no file.
    if (!detail::ChooseBackend(Environment("MORVATH_MACHINE"), error)) return false;
    std::vector<std::string> warnings;
    uint64_t limit = 0;
    if (std::string frames = Environment("MORVATH_FRAMES"); !frames.empty()) {
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
    // The clock and the debugger output read their settings themselves when the machine resets.
    if (std::string clock = Environment("MORVATH_CLOCK"); !clock.empty() && clock != "fixed" && clock != "real") {
        error = "MORVATH_CLOCK: expected fixed or real, not \"" + clock + "\"";
        return false;
    }
    if (std::string debug = Environment("MORVATH_DEBUG_OUTPUT");
        !debug.empty() && debug != "stderr" && debug != "none") {
        error = "MORVATH_DEBUG_OUTPUT: expected stderr or none, not \"" + debug + "\"";
        return false;
    }
    if (std::string audio = Environment("MORVATH_AUDIO"); !audio.empty()) {
        if (audio != "none" && audio != "auto") {
            error = "MORVATH_AUDIO: expected auto or none, not \"" + audio + "\"";
            return false;
        }
        control::SetAudioDeviceAllowed(audio == "auto");
    }
    const std::string folder = Environment("MORVATH_CAPTURE"), frameList = Environment("MORVATH_CAPTURE_FRAMES");
    if (folder.empty() && !frameList.empty()) {
        error = "MORVATH_CAPTURE_FRAMES: set without MORVATH_CAPTURE, the folder the frames go to";
        return false;
    }
    if (!folder.empty()) {
        std::vector<uint64_t> frames;
        if (!ReadFrameList(frameList, frames)) {
            error = "MORVATH_CAPTURE_FRAMES: expected frame numbers from 1, separated by commas";
            return false;
        }
        if (!CheckOutputFolder(folder, error)) return false;
        std::vector<uint64_t> late;
        for (uint64_t frame : frames)
            if (limit != 0 && frame > limit) late.push_back(frame);
        if (!late.empty())
            warnings.push_back("MORVATH_CAPTURE_FRAMES: " + detail::FrameNumbers(late, "comes", "come") +
                               " after MORVATH_FRAMES=" + std::to_string(limit) + ", when the run is asked to end");
        control::SetCapture(folder, frames);
    }
    if (std::string script = Environment("MORVATH_INPUT"); !script.empty()) {
        // A folder opens as a file that reads nothing: it is refused as a missing file is.
        std::error_code code;
        std::ifstream in;
        if (!std::filesystem::is_directory(script, code)) in.open(script, std::ios::binary);
        std::ostringstream text;
        if (in.is_open()) text << in.rdbuf();
        if (!in.is_open() || in.bad()) {
            error = "MORVATH_INPUT: cannot read \"" + script + "\"";
            return false;
        }
        std::string reason;
        if (!control::LoadInputScript(text.str(), reason)) {
            error = script + ": " + reason;
            return false;
        }
    }
    // The files written at the end, opened last: the only refusal after one is created is another's.
    const std::string report = Environment("MORVATH_REPORT"), wave = Environment("MORVATH_AUDIO_OUT");
    std::vector<OutputFile> outputs;
    if (!report.empty()) outputs.push_back({"MORVATH_REPORT", report});
    if (!wave.empty()) outputs.push_back({"MORVATH_AUDIO_OUT", wave});
    if (!OpenOutputFiles(outputs, error)) return false;
    if (!report.empty()) control::SetReportPath(report);
    if (!wave.empty()) control::SetAudioOutputPath(wave);
    for (const std::string& warning : warnings) std::fprintf(stderr, "%s\n", warning.c_str());
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
