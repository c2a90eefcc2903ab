// Test access to the utility library's objects.
#pragma once

#include "d3dx9.h"

namespace d3dx9::control {
// Number of entries on a stack made by D3DXCreateMatrixStack (1 for a new stack); 0 for null.
UINT MatrixStackDepth(ID3DXMatrixStack* stack);
}  // namespace d3dx9::control
