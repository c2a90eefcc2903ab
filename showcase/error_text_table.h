// Short texts for HRESULTs that the error-string library may not know: sound, X-file, mesh and
// utility-library codes and the common COM codes.
#pragma once

#include "windows.h"

// The table's text for the code, or null when the table has none.
const char* LookUpErrorText(HRESULT code);
