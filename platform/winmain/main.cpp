// The runtime's start-up for a windowed program: the machine is set up from the environment (a bad
// setting or input-script line ends the run with status 2 before the program starts), WinMain runs,
// and the machine's report is written with WinMain's result.
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
    machine::WriteReport(result);
    return result;
}
