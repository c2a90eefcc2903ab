// The common controls library: the program registers its classes once; nothing else of it is used.
#include "commctrl.h"
#include "user/control.h"
#include "user/reset.h"

namespace user {
namespace {
void ResetCommonControls();

int& InitCount() {
    static int count = 0;
    static bool registered = (detail::RegisterUserReset(&ResetCommonControls), true);
    (void)registered;
    return count;
}

void ResetCommonControls() { InitCount() = 0; }
}  // namespace

namespace control {
int CommonControlsInitCount() { return InitCount(); }
}  // namespace control
}  // namespace user

void WINAPI InitCommonControls(void) { ++user::InitCount(); }
