// One headless run of the real program in a fresh folder that the media generator fills: its exit
// status, its output, its report and the folder it ran in; and readers for the report's device and
// main-window fields and for the frames the machine captured.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "json_value.h"
#include "program_run.h"
#include "temp_folder.h"

struct ShowcaseRun {
    test_support::TempFolder scratch;  // holds the run folder, the report and the program's output
    std::filesystem::path runFolder;   // the program's working directory
    std::filesystem::path captureFolder;  // where the captured frames go, when frames were asked for
    int status = -1;
    long peakKilobytes = 0;            // the program's peak resident memory
    std::string output;
    bool reportRead = false;
    JsonValue report;
    std::string failure;               // why the run could not be set up; empty when it could
};

struct ShowcaseOptions {
    int frames = 30;
    std::string script;         // an input script of tests/end_to_end/scripts, by file name; empty: none
    std::string captureFrames;  // MORVATH_CAPTURE_FRAMES; empty: nothing is captured
    std::vector<std::pair<std::string, std::string>> extra;  // further environment variables
    // Called with the run folder once the media are in it, before the program starts.
    std::function<void(const std::filesystem::path&)> prepare;
};

// Runs the program with the machine's other settings at their defaults.
void RunShowcase(ShowcaseRun& run, const ShowcaseOptions& options);
// Runs the program for `frames` frames, plus the given environment variables.
void RunShowcase(ShowcaseRun& run, int frames, const std::vector<std::pair<std::string, std::string>>& extra);

std::string ReadFile(const std::filesystem::path& path);
std::vector<std::string> NamesWithBackslash(const std::filesystem::path& folder);
// The number of that name in the object, -1 when it is missing.
double NumberIn(const JsonValue& object, const char* name);
// The draws of the report's last presented frame whose vertex format is this one (e.g. "0x152").
size_t DrawsWithFormat(const JsonValue& report, const std::string& fvf);

// The report's "device" object (the device as at exit); `present` is false when it is missing or null.
struct ReportedDevice {
    bool present = false;
    std::string type;
    bool windowed = false;
    int adapter = -1, width = -1, height = -1;
    std::string format, depthFormat, presentInterval;
    bool operator==(const ReportedDevice&) const = default;
};
ReportedDevice DeviceIn(const JsonValue& report);
std::ostream& operator<<(std::ostream& out, const ReportedDevice& device);

// The report's "main_window" object (the main window as it was destroyed).
struct ReportedWindow {
    bool present = false;
    std::vector<int> rect;  // left, top, right, bottom on the screen
    int clientWidth = -1, clientHeight = -1;
    double style = -1;
    bool menuBar = false;
    bool operator==(const ReportedWindow&) const = default;
};
ReportedWindow MainWindowIn(const JsonValue& report);
std::ostream& operator<<(std::ostream& out, const ReportedWindow& window);

// A captured frame, as 8-bit RGB rows.
struct FrameImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    size_t NonBlackPixels() const;
};
// Reads frame_N.png of the run's capture folder; answers an empty text or why it cannot.
std::string ReadCapturedFrame(const ShowcaseRun& run, int frame, FrameImage& image);
// Reads any PNG file as 8-bit RGB; answers an empty text or why it cannot.
std::string ReadPngImage(const std::filesystem::path& path, FrameImage& image);
