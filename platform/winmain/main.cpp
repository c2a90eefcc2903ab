// The runtime's start-up for a windowed program: the machine is set up from the environment (a bad
// setting, input-script line or output path ends the run with status 2 before the program starts),
// WinMain runs, and the machine's report is written with WinMain's result; an output that cannot be
// written then turns a status 0 into 3.
#include <cstdio>
#include <string>

#include "machine/control.h"
#include "machine/machine.h"
#include "windows.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

int main(int argc, char** argv) {
    machine::control::StartRunClock();
    std::string error;
    if (!machine::ConfigureFromEnvironment(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    // The command line as the platform hands it over: the arguments after the program's name.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    const int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    // An output the run was asked for that could not be written fails a run that otherwise ended well.
    if (!machine::WriteReport(result) && result == 0) return 3;
    return result;
}
