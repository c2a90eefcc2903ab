// The run's report: a JSON object written at exit. Each group of fields has its own function; later
// areas add theirs with AddReportField.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include "machine/control.h"
#include "machine/failures.h"
#include "machine/machine.h"
#include "audio_parts.h"
#include "machine_parts.h"

namespace machine {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;  // name, JSON value

uint64_t& DialogCount() {
    static uint64_t count = 0;
    return count;
}

std::vector<std::pair<std::string, std::function<std::string()>>>& AddedFields() {
    static std::vector<std::pair<std::string, std::function<std::string()>>> fields;
    return fields;
}

void AddRunFields(Fields& fields, int exitCode) {
    fields.emplace_back("exit_code", std::to_string(exitCode));
    fields.emplace_back("frames_presented", std::to_string(FramesPresented()));
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "%.3f", detail::RunSeconds());
    fields.emplace_back("seconds", seconds);
    std::string windows = "[";
    const std::vector<double> cpu = detail::FrameWindowCpuSeconds();
    for (size_t i = 0; i < cpu.size(); ++i) {
        std::snprintf(seconds, sizeof seconds, "%s%.4f", i ? ", " : "", cpu[i]);
        windows += seconds;
    }
    fields.emplace_back("cpu_seconds_per_100_frames", windows + "]");
}

void AddMessageBoxes(Fields& fields) {
    std::string list = "[";
    const auto& boxes = detail::MessageBoxList();
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (i) list += ", ";
        list += "{\"text\": " + JsonString(boxes[i].text) + ", \"caption\": " + JsonString(boxes[i].caption) +
                ", \"icon\": " + JsonString(MessageBoxIconName(boxes[i].type)) +
                ", \"answer\": " + std::to_string(boxes[i].answer) + "}";
    }
    fields.emplace_back("message_boxes", list + "]");
}

void AddDebugOutput(Fields& fields) {
    std::string list = "[";
    const std::vector<std::string> lines = control::DebugLines();
    for (size_t i = 0; i < lines.size(); ++i) list += (i ? ", " : "") + JsonString(lines[i]);
    fields.emplace_back("debug_output", list + "]");
}

void AddCapturedFrames(Fields& fields) {
    std::string list = "[";
    const std::vector<std::string> files = detail::CapturedFileList();
    for (size_t i = 0; i < files.size(); ++i) list += (i ? ", " : "") + JsonString(files[i]);
    fields.emplace_back("captured_frames", list + "]");
}

// Every failure the run armed: the call, its use, the code, and whether (and at which frame) it fell.
void AddInjectedFailures(Fields& fields) {
    std::string list = "[";
    const std::vector<control::InjectedFailureRecord> failures = control::InjectedFailures();
    for (size_t i = 0; i < failures.size(); ++i) {
        const control::InjectedFailureRecord& f = failures[i];
        char code[16];
        std::snprintf(code, sizeof code, "0x%08x", f.code);
        list += std::string(i ? ", " : "") + "{\"call\": " + JsonString(f.call) + ", \"nth\": " + std::to_string(f.nth) +
                ", \"code\": " + JsonString(code) + ", \"frame\": " + std::to_string(f.frame) +
                ", \"fired\": " + (f.fired ? "true" : "false") +
                (f.fired ? ", \"fired_at_frame\": " + std::to_string(f.firedAtFrame) : std::string()) + "}";
    }
    fields.emplace_back("injected_failures", list + "]");
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    // Control characters, and bytes of the 8-bit text's upper half as the character
                    // of the same number, so the file stays valid UTF-8 whatever the text held.
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string ReportJson(int exitCode) {
    Fields fields;
    AddRunFields(fields, exitCode);
    AddMessageBoxes(fields);
    AddDebugOutput(fields);
    AddCapturedFrames(fields);
    fields.emplace_back("dialogs_shown", std::to_string(DialogCount()));
    std::string live = "{";
    for (const auto& [kind, count] : detail::LedgerEntries())
        live += (live.size() > 1 ? ", " : "") + JsonString(kind) + ": " + std::to_string(count);
    fields.emplace_back("live_objects", live + "}");
    AddInjectedFailures(fields);
    fields.emplace_back("audio", detail::AudioReportJson());
    for (const auto& [name, producer] : AddedFields()) fields.emplace_back(name, producer());
    std::string json = "{\n";
    for (size_t i = 0; i < fields.size(); ++i)
        json += "  " + JsonString(fields[i].first) + ": " + fields[i].second + (i + 1 < fields.size() ? ",\n" : "\n");
    return json + "}\n";
}

bool WriteReport(int exitCode) {
    bool written = detail::FinishCapture();
    written = detail::FinishAudio() && written;
    const std::string& path = detail::ReportPath();
    if (path.empty()) return written;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << ReportJson(exitCode);
    out.close();  // what is still buffered fails here on a full disk
    if (out) return written;
    std::fprintf(stderr, "[machine] cannot write the report %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
}

void AddReportField(const std::string& name, std::function<std::string()> jsonValue) {
    for (auto& field : AddedFields()) {
        if (field.first == name) {
            field.second = std::move(jsonValue);
            return;
        }
    }
    AddedFields().emplace_back(name, std::move(jsonValue));
}

void NoteDialogShown() { ++DialogCount(); }
uint64_t DialogsShown() { return DialogCount(); }

namespace detail {
// Fields added by other areas stay registered: they describe the run, not a test's state.
void ResetReportFields() { DialogCount() = 0; }
}  // namespace detail
}  // namespace machine
