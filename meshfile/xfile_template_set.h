// The X-file templates registered with the parser before any file is read: the published standard
// set, in the text encoding.
#pragma once

#include "windef.h"

extern const char* const XFileTemplateSet;
extern const DWORD XFileTemplateSetBytes;
