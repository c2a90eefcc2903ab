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

// ---- Textures from files --------------------------------------------------------------------------
typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0, D3DXIFF_JPG = 1, D3DXIFF_TGA = 2, D3DXIFF_PNG = 3, D3DXIFF_DDS = 4, D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6, D3DXIFF_HDR = 7, D3DXIFF_PFM = 8,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

// What a loaded file held: its size, depth, stored mip levels and pixel format as written in it.
typedef struct _D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

typedef struct tagPALETTEENTRY PALETTEENTRY;

// Loads a BMP or DDS file into a new texture. Width, height and mip levels D3DX_DEFAULT or 0 take the
// file's size and a full chain; format D3DFMT_UNKNOWN takes the file's. A nonzero colour key turns
// texels of that A8R8G8B8 value into transparent black. The texture out is written only on success;
// a missing or malformed file answers D3DXERR_INVALIDDATA.
HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice9* pDevice, const char* pSrcFile, UINT Width,
                                            UINT Height, UINT MipLevels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                            IDirect3DTexture9** ppTexture);
// The same with every choice left to the file and the defaults, into the managed pool.
HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, const char* pSrcFile,
                                          IDirect3DTexture9** ppTexture);

// Interfaces of the texture, font and mesh facilities (declared in full where they are implemented).
struct ID3DXBuffer;
struct ID3DXFont;
struct ID3DXMesh;
typedef ID3DXBuffer* LPD3DXBUFFER;
typedef ID3DXFont* LPD3DXFONT;
typedef ID3DXMesh* LPD3DXMESH;
