// Display names of surface formats: "D3DFMT_A8R8G8B8", or "A8R8G8B8" without the prefix.
#pragma once

#include "d3d9types.h"

// The format's published name, or "Unknown format" for a code outside the table. With withPrefix
// false the leading "D3DFMT_" is skipped ("Unknown format" stays whole). The text is static.
const char* FormatName(D3DFORMAT format, bool withPrefix);
