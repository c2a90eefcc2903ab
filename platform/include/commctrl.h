// The common controls library.
#pragma once

#include "windef.h"
#include "winerror.h"

// Registers the common control classes. Nothing else of the library is used.
void WINAPI InitCommonControls(void);
