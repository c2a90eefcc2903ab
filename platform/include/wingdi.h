// Owned by the window-manager and GDI areas (platform/user, platform/gdi).
#pragma once

#include "windef.h"
#include "winerror.h"
