// The names of the calls that the areas ask InjectedFailure about: a script's fail line must name one
// of them, so that a misspelt call is refused with its line rather than armed and never asked. An area
// that asks about a new call adds its name here (the machine's tests check the two agree).
#include <algorithm>

#include "machine/failures.h"

namespace machine {
namespace {

constexpr std::string_view kFailureCalls[] = {
    // crt
    "new",
    // mm
    "mmioAdvance",
    "mmioAscend",
    "mmioClose",
    "mmioCreateChunk",
    "mmioDescend",
    "mmioGetInfo",
    "mmioOpenA",
    "mmioRead",
    "mmioSeek",
    "mmioSetInfo",
    "mmioWrite",
    // dxfile
    "DirectXFileCreate",
    "IDirectXFile::CreateEnumObject",
    "IDirectXFile::RegisterTemplates",
    "IDirectXFileData::GetData",
    "IDirectXFileData::GetName",
    "IDirectXFileData::GetNextObject",
    "IDirectXFileData::GetType",
    "IDirectXFileEnumObject::GetNextDataObject",
    "IDirectXFileObject::QueryInterface",
    // d3d9
    "IDirect3DDevice9::CreateIndexBuffer",
    "IDirect3DDevice9::CreateVertexBuffer",
    "IDirect3DDevice9::DrawPrimitive",
    "IDirect3DIndexBuffer9::Lock",
    "IDirect3DVertexBuffer9::Lock",
    // d3dx9
    "D3DXComputeBoundingSphere",
    "D3DXComputeNormals",
    "D3DXCreateTextureFromFileA",
    "D3DXLoadMeshFromXA",
    "D3DXLoadMeshFromXof",
    "ID3DXMesh::CloneMeshFVF",
    "ID3DXMesh::GetVertexBuffer",
    "ID3DXMesh::OptimizeInplace",
    // dinput
    "alloc:dinput",
    "DirectInput8Create",
    "IDirectInput8::CreateDevice",
    "IDirectInputDevice8::GetDeviceState",
    "IDirectInputDevice8::SetCooperativeLevel",
    "IDirectInputDevice8::SetDataFormat",
    // dsound
    "alloc:dsound",
    "DirectSoundCreate8",
    "IDirectSound3DBuffer::SetAllParameters",
    "IDirectSound8::CreateSoundBuffer",
    "IDirectSound8::DuplicateSoundBuffer",
    "IDirectSound8::SetCooperativeLevel",
    "IDirectSoundBuffer::GetCurrentPosition",
    "IDirectSoundBuffer::GetStatus",
    "IDirectSoundBuffer::Lock",
    "IDirectSoundBuffer::Play",
    "IDirectSoundBuffer::QueryInterface",
    "IDirectSoundBuffer::Restore",
    "IDirectSoundBuffer::SetCurrentPosition",
    "IDirectSoundBuffer::SetFormat",
    "IDirectSoundBuffer::SetFrequency",
    "IDirectSoundBuffer::SetPan",
    "IDirectSoundBuffer::SetVolume",
    "IDirectSoundBuffer::Stop",
    "IDirectSoundBuffer::Unlock",
    "IDirectSoundNotify::SetNotificationPositions",
};

}  // namespace

std::vector<std::string_view> FailureCallNames() { return {std::begin(kFailureCalls), std::end(kFailureCalls)}; }

bool IsFailureCallName(std::string_view call) {
    return std::find(std::begin(kFailureCalls), std::end(kFailureCalls), call) != std::end(kFailureCalls);
}

}  // namespace machine
