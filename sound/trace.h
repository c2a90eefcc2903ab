// The module's failure trace: one debugger-output line "dsutil(<line>): <text> (hr=...)" through the
// platform's trace function, which answers the HRESULT it was given.
#pragma once

#include "dxerr9.h"

#define DSUTIL_TRACE(text, hr) DXTraceA("dsutil", __LINE__, (hr), (text), FALSE)
