// One headless run of the real program in a fresh folder that the media generator fills: its exit
// status, its output, its report and the folder it ran in.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "json_value.h"
#include "program_run.h"

struct ShowcaseRun {
    ScratchFolder scratch;             // holds the run folder, the report and the program's output
    std::filesystem::path runFolder;   // the program's working directory
    int status = -1;
    std::string output;
    bool reportRead = false;
    JsonValue report;
    std::string failure;               // why the run could not be set up; empty when it could
};

// Runs the program for `frames` frames with the machine's other settings at their defaults, plus the
// given environment variables.
void RunShowcase(ShowcaseRun& run, int frames, const std::vector<std::pair<std::string, std::string>>& extra);

std::string ReadFile(const std::filesystem::path& path);
std::vector<std::string> NamesWithBackslash(const std::filesystem::path& folder);
// The number of that name in the object, -1 when it is missing.
double NumberIn(const JsonValue& object, const char* name);
