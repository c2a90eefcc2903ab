// Placing a scene object on the owner's matrix stack: push a copy of the top, move it to the position,
// turn it about its own centre (yaw, pitch, roll), and hand the top to the device after each step.
#pragma once

#include "d3d9.h"
#include "d3dx9.h"
#include "vector3.h"

inline void PushPlacement(IDirect3DDevice9* device, ID3DXMatrixStack* stack, const CVector3& position,
                          const CVector3& rotation) {
    stack->Push();
    device->SetTransform(D3DTS_WORLD, stack->GetTop());
    stack->TranslateLocal(position.x, position.y, position.z);
    device->SetTransform(D3DTS_WORLD, stack->GetTop());
    stack->RotateYawPitchRollLocal(rotation.x, rotation.y, rotation.z);
    device->SetTransform(D3DTS_WORLD, stack->GetTop());
}
