#include "error_text_table.h"

#include <cstddef>
#include <cstdint>

namespace {

struct CodeText {
    uint32_t code;
    const char* text;
};

const CodeText kSingleCodes[] = {
    {0x00000000, "No error"},
    {0x0878000A, "DS  had to subst 3D algorithm"},
    {0x8000000A, "Can't complete operation: data not yet available."},
    {0x80004001, "Not implemented"},
    {0x80004002, "No such interface supported"},
    {0x80004003, "Invalid pointer"},
    {0x80004004, "Operation aborted"},
    {0x80004005, "Generic error"},
    {0x8000FFFF, "Didn't expect that"},
    {0x80040110, "DS  Doesn't support aggregation"},
    {0x80070005, "access denied error"},
    {0x80070006, "Invalid handle"},
    {0x8007000E, "Ran out of memory"},
    {0x80070057, "One or more args invalid"},
    {0x8878000A, "DS  Resource allocated to another caller"},
    {0x8878001E, "DS  control unavailable"},
    {0x88780032, "DS  Call invalid for current state of object"},
    {0x88780046, "DS  Need higher priority level"},
    {0x88780064, "DS  Wave format not supported"},
    {0x88780078, "DS  No sound driver"},
    {0x88780082, "DS  already initialized"},
    {0x88780096, "DS  Buffer memory lost"},
    {0x887800A0, "DS  Another app already has higher priority"},
    {0x887800AA, "DS  Object not init'd"},
};

// X-file parser codes, 0x88760352 onwards.
const char* const kXFileTexts[] = {
    "DXFile: Bad object", "DXFile: Bad value", "DXFile: Bad type", "DXFile: Bad stream handle",
    "DXFile: Bad Alloc", "DXFile: Not found", "DXFile: Not done yet", "DXFile: File not found",
    "DXFile: Resource not found", "DXFile: URL not found", "DXFile: Bad resource",
    "DXFile: Bad file type", "DXFile: Bad file version", "DXFile: Bad file float size",
    "DXFile: Bad compression type", "DXFile: Bad file", "DXFile: Parse error", "DXFile: No template",
    "DXFile: Bad array size", "DXFile: Bad data ref", "DXFile: Internal error",
    "DXFile: No more objects", "DXFile: Bad intrinsics", "DXFile: No more stream handles",
    "DXFile: No more data", "DXFile: Bad cache file", "DXFile: No internet",
};

// Mesh-library codes, 0x88760B54 onwards.
const char* const kMeshTexts[] = {
    "D3DX: cannot modify index buffer", "D3DX: Invalid mesh", "D3DX: Cannot sort attributes",
    "D3DX: Skinning unsupported", "D3DX: Too many influences", "D3DX: Invalid data",
};

// Utility-library codes, 0xC8770BB8 onwards.
const char* const kUtilityTexts[] = {
    "Out of memory",
    "NULL pointer was passed as a parameter",
    "The Device Index passed in is invalid",
    "DirectDraw has not been created",
    "Direct3D has not been created",
    "Direct3D device has not been created",
    "Primary surface has not been created",
    "Z buffer has not been created",
    "Backbuffer has not been created",
    "Failed to update caps database after changing display mode",
    "Could not create Z buffer",
    "Display mode is not valid",
    "One or more of the parameters passed is invalid",
    "D3DX failed to initialize itself",
    "D3DX failed to start up",
    "D3DXInitialize() must be called first",
    "D3DX is not initialized yet",
    "Failed to render text to the surface",
    "Bad D3DX context",
    "The requested device capabilities are not supported",
    "The image file format is unrecognized",
    "The image file loading library error",
    "Could not obtain device caps",
    "Resize does not work for full-screen",
    "Resize does not work for non-windowed contexts",
    "Front buffer already exists",
    "The app is using the primary in full-screen mode",
    "Could not get device context",
    "Could not bitBlt",
    "There is no surface backing up this texture",
    "There is no such miplevel for this surface",
    "The surface is not paletted",
    "An error occured while enumerating surface formats",
    "D3DX only supports color depths of 16 bit or greater",
    "The file format is invalid",
    "No suitable match found",
};

struct CodeRun {
    uint32_t first;
    const char* const* texts;
    size_t count;
};

const CodeRun kRuns[] = {
    {0x88760352, kXFileTexts, sizeof(kXFileTexts) / sizeof(kXFileTexts[0])},
    {0x88760B54, kMeshTexts, sizeof(kMeshTexts) / sizeof(kMeshTexts[0])},
    {0xC8770BB8, kUtilityTexts, sizeof(kUtilityTexts) / sizeof(kUtilityTexts[0])},
};

}  // namespace

const char* LookUpErrorText(HRESULT code) {
    const uint32_t value = static_cast<uint32_t>(code);
    for (const CodeText& entry : kSingleCodes) {
        if (entry.code == value) return entry.text;
    }
    for (const CodeRun& run : kRuns) {
        if (value >= run.first && value - run.first < run.count) return run.texts[value - run.first];
    }
    return nullptr;
}
