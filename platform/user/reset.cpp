// The window manager's parts reset with the machine.
#include <algorithm>
#include <vector>

#include "machine/control.h"
#include "user/reset.h"

namespace user::detail {

void RegisterUserReset(void (*hook)()) {
    static std::vector<void (*)()> registered;
    if (std::find(registered.begin(), registered.end(), hook) != registered.end()) return;
    registered.push_back(hook);
    machine::control::AtReset(hook);
}

}  // namespace user::detail
