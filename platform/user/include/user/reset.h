// Each part of the window manager registers how it goes back to its start state; the machine's
// control::Reset runs them all.
#pragma once

namespace user::detail {
// Registers the hook once with the machine; every part's state accessor calls it.
void RegisterUserReset(void (*hook)());
}  // namespace user::detail
