// Documents the program asked the shell to open. The headless machine has no desktop to open them on,
// so it keeps each request for the run's tests; the kernel's ShellExecuteA records them here.
#pragma once

#include <string>
#include <vector>

namespace machine {

struct ShellRequest {
    std::string operation;   // "open", ...
    std::string file;        // as the program gave it
    std::string parameters;  // empty when none
    std::string directory;   // empty when none
    int showCommand = 0;     // SW_ value
};
void RecordShellRequest(const ShellRequest& request);

namespace control {
std::vector<ShellRequest> ShellRequests();  // every request, in order
}  // namespace control

}  // namespace machine
