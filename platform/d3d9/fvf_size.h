// The size of a vertex of a flexible vertex format, in bytes; 0 for a format that is not valid.
#pragma once

#include "d3d9.h"

namespace d3d9 {
UINT FvfVertexSize(DWORD fvf);
}  // namespace d3d9
