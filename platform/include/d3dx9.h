// The Direct3D 9 utility library: math and the matrix stack (d3dx9math.h), shared constants, result
// codes and the interfaces of the texture, font and mesh facilities.
#pragma once

#include "d3d9.h"
#include "d3dx9math.h"

// "Choose the value yourself": sizes, mip counts and filters taken from the file or the defaults.
#define D3DX_DEFAULT ((UINT)-1)

// Image filters: the low byte picks the filter, the high bits add mirroring and dithering.
#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)
#define D3DX_FILTER_LINEAR (3 << 0)
#define D3DX_FILTER_TRIANGLE (4 << 0)
#define D3DX_FILTER_BOX (5 << 0)
#define D3DX_FILTER_MIRROR_U (1 << 16)
#define D3DX_FILTER_MIRROR_V (2 << 16)
#define D3DX_FILTER_MIRROR_W (4 << 16)
#define D3DX_FILTER_MIRROR (7 << 16)
#define D3DX_FILTER_DITHER (1 << 19)

// Result codes of the library (facility 0x876, codes from 2900).
#define _FACDD 0x876
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, _FACDD, code)
#define D3DXERR_CANNOTMODIFYINDEXBUFFER MAKE_DDHRESULT(2900)
#define D3DXERR_INVALIDMESH MAKE_DDHRESULT(2901)
#define D3DXERR_CANNOTATTRSORT MAKE_DDHRESULT(2902)
#define D3DXERR_SKINNINGNOTSUPPORTED MAKE_DDHRESULT(2903)
#define D3DXERR_TOOMANYINFLUENCES MAKE_DDHRESULT(2904)
#define D3DXERR_INVALIDDATA MAKE_DDHRESULT(2905)
#define D3DXERR_LOADEDMESHASNODATA MAKE_DDHRESULT(2906)
#define D3DXERR_DUPLICATENAMEDFRAGMENT MAKE_DDHRESULT(2907)
#define D3DXERR_CANNOTREMOVELASTITEM MAKE_DDHRESULT(2908)

// Interfaces of the texture, font and mesh facilities (declared in full where they are implemented).
struct ID3DXBuffer;
struct ID3DXFont;
struct ID3DXMesh;
typedef ID3DXBuffer* LPD3DXBUFFER;
typedef ID3DXFont* LPD3DXFONT;
typedef ID3DXMesh* LPD3DXMESH;
