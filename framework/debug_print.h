// One formatted text to the debugger output, at most 511 characters; no line feed is added.
#pragma once

void DebugPrint(const char* format, ...);
