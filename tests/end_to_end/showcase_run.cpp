#include "showcase_run.h"

#include <fstream>
#include <sstream>

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> NamesWithBackslash(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find('\\') != std::string::npos) names.push_back(name);
    }
    return names;
}

double NumberIn(const JsonValue& object, const char* name) {
    const JsonValue* value = object.Find(name);
    return value != nullptr && value->kind == JsonValue::Kind::Number ? value->number : -1.0;
}

void RunShowcase(ShowcaseRun& run, int frames, const std::vector<std::pair<std::string, std::string>>& extra) {
    const std::filesystem::path scratch = run.scratch.Path();
    if (scratch.empty()) {
        run.failure = "no scratch folder";
        return;
    }
    run.runFolder = scratch / "run";
    std::filesystem::create_directory(run.runFolder);
    ProgramRun media{MAKE_MEDIA_PROGRAM, {run.runFolder.string()}, scratch, {}, scratch / "make_media.out"};
    if (RunProgram(media) != 0) {
        run.failure = "make_media failed: " + ReadFile(media.outputFile);
        return;
    }
    // Only what the test asks for: settings of the caller's environment do not leak in.
    std::vector<std::pair<std::string, std::string>> environment = {
        {"MORVATH_MACHINE", "headless"},       {"MORVATH_FRAMES", std::to_string(frames)},
        {"MORVATH_REPORT", (scratch / "report.json").string()},
        {"MORVATH_CLOCK", ""},                 {"MORVATH_DIRECT3D", ""},
        {"MORVATH_INPUT", ""},                 {"MORVATH_CAPTURE", ""},
        {"MORVATH_CAPTURE_FRAMES", ""},
    };
    for (const auto& setting : extra) {
        bool replaced = false;
        for (auto& entry : environment) {
            if (entry.first == setting.first) {
                entry.second = setting.second;
                replaced = true;
            }
        }
        if (!replaced) environment.push_back(setting);
    }
    ProgramRun program{MORVATH_PROGRAM, {}, run.runFolder, environment, scratch / "program.out"};
    run.status = RunProgram(program);
    run.output = ReadFile(program.outputFile);
    std::optional<JsonValue> report = ParseJson(ReadFile(scratch / "report.json"));
    run.reportRead = report.has_value();
    if (report) run.report = std::move(*report);
}
