#include "program_run.h"

#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int RunProgram(const ProgramRun& run, long* peakKilobytes) {
    const int child = StartProgram(run);
    if (child < 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return -1;
    if (peakKilobytes != nullptr) *peakKilobytes = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int WaitForProgram(int child, int timeoutSeconds) {
    int status = 0;
    for (int tenths = 0; tenths < timeoutSeconds * 10; ++tenths) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0) return -1;
        usleep(100'000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
}

int StartProgram(const ProgramRun& run) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        const int output = open(run.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (output < 0 || chdir(run.folder.c_str()) != 0) _exit(127);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        close(output);
        for (const auto& [name, value] : run.environment) {
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        std::vector<char*> argv;
        std::string program = run.program.string();
        argv.push_back(program.data());
        std::vector<std::string> arguments = run.arguments;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return child;
}
