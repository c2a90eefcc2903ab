// Owned by the kernel area (platform/kernel, platform/mm, platform/dxerr, platform/crt).
#pragma once

#include "windef.h"
#include "winerror.h"
