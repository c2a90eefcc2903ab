// The platform's main header: basic types, kernel, window manager, GDI, registry and the C runtime's
// platform-specific functions.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "unknwn.h"
#include "winbase.h"
#include "winreg.h"
#include "wingdi.h"
#include "winuser.h"
#include "crtcompat.h"
