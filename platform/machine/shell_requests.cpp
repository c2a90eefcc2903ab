// The record of documents the program asked the shell to open.
#include <mutex>

#include "machine/shell.h"
#include "reset_hooks.h"

namespace machine {
namespace {
std::mutex g_mutex;
std::vector<ShellRequest> g_requests;
}  // namespace

void RecordShellRequest(const ShellRequest& request) {
    std::lock_guard lock(g_mutex);
    g_requests.push_back(request);
}

namespace control {
std::vector<ShellRequest> ShellRequests() {
    std::lock_guard lock(g_mutex);
    return g_requests;
}
}  // namespace control

namespace detail {
void ResetShellRequests() {
    std::lock_guard lock(g_mutex);
    g_requests.clear();
}
}  // namespace detail
}  // namespace machine
