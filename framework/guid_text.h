// A GUID as braced text, "{3D82AB44-62DA-11CF-AB39-0020AF71E433}": 38 characters, uppercase hex.
#pragma once

#include "unknwn.h"
#include "windef.h"
#include "winerror.h"

// Each field takes up to its width in hex digits of either case; nothing after the last field is
// examined. On any failure (a null text among them) the GUID is all zeros and the result E_FAIL.
HRESULT TextToGuid(const char* text, GUID* pGuid);
// Needs a capacity of 39; a smaller one gives E_FAIL with the cut text still terminated.
HRESULT GuidToText(const GUID* pGuid, char* text, int capacity);
HRESULT GuidToTextBytes(const GUID* pGuid, char* text, int capacityBytes);
