// Runs a program as its own process in a given folder with extra environment variables, its standard
// output and error going to files; answers its exit status (-1 when it could not run or was killed).
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct ProgramRun {
    std::filesystem::path program;
    std::vector<std::string> arguments;
    std::filesystem::path folder;
    std::vector<std::pair<std::string, std::string>> environment;  // an empty value removes the variable
    std::filesystem::path outputFile;  // standard output and standard error together
};

// The child's peak resident memory is written to peakKilobytes when it is given.
int RunProgram(const ProgramRun& run, long* peakKilobytes = nullptr);
// The same run, started without waiting: the child's process id (-1 when it could not start). The
// wait answers its exit status, killing it after the timeout (-1 then).
int StartProgram(const ProgramRun& run);
int WaitForProgram(int child, int timeoutSeconds);
