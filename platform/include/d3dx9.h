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

// ---- Buffers and meshes ----------------------------------------------------------------------------
// Mesh options: index size, and the pool and usage of the vertex (VB_) and index (IB_) buffers.
#define D3DXMESH_32BIT 0x001
#define D3DXMESH_DONOTCLIP 0x002
#define D3DXMESH_POINTS 0x004
#define D3DXMESH_RTPATCHES 0x008
#define D3DXMESH_NPATCHES 0x4000
#define D3DXMESH_VB_SYSTEMMEM 0x010
#define D3DXMESH_VB_MANAGED 0x020
#define D3DXMESH_VB_WRITEONLY 0x040
#define D3DXMESH_VB_DYNAMIC 0x080
#define D3DXMESH_VB_SOFTWAREPROCESSING 0x8000
#define D3DXMESH_IB_SYSTEMMEM 0x100
#define D3DXMESH_IB_MANAGED 0x200
#define D3DXMESH_IB_WRITEONLY 0x400
#define D3DXMESH_IB_DYNAMIC 0x800
#define D3DXMESH_IB_SOFTWAREPROCESSING 0x10000
#define D3DXMESH_VB_SHARE 0x1000
#define D3DXMESH_USEHWONLY 0x2000
#define D3DXMESH_SYSTEMMEM 0x110
#define D3DXMESH_MANAGED 0x220
#define D3DXMESH_WRITEONLY 0x440
#define D3DXMESH_DYNAMIC 0x880
#define D3DXMESH_SOFTWAREPROCESSING 0x18000

// OptimizeInplace: drop unused vertices, sort the faces by attribute, reorder for the vertex cache.
#define D3DXMESHOPT_COMPACT 0x01000000
#define D3DXMESHOPT_ATTRSORT 0x02000000
#define D3DXMESHOPT_VERTEXCACHE 0x04000000
#define D3DXMESHOPT_STRIPREORDER 0x08000000
#define D3DXMESHOPT_IGNOREVERTS 0x10000000
#define D3DXMESHOPT_DONOTSPLIT 0x20000000
#define D3DXMESHOPT_DEVICEINDEPENDENT 0x00400000

DEFINE_GUID(IID_ID3DXBuffer, 0x8ba5fb08, 0x5195, 0x40e2, 0xac, 0x58, 0x0d, 0x98, 0x9c, 0x3a, 0x01, 0x02);
DEFINE_GUID(IID_ID3DXBaseMesh, 0x7ed943dd, 0x52e8, 0x40b5, 0xa8, 0xd8, 0x76, 0x68, 0x5c, 0x40, 0x63, 0x30);
DEFINE_GUID(IID_ID3DXMesh, 0x4020e5c2, 0x1403, 0x4929, 0x88, 0x3f, 0xe2, 0xe8, 0x49, 0xfa, 0xc1, 0x95);

// A block of bytes owned by the library, valid until the last Release.
struct ID3DXBuffer : public IUnknown {
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

// A run of faces of one attribute id and the vertices they use.
typedef struct _D3DXATTRIBUTERANGE {
    DWORD AttribId;
    DWORD FaceStart;
    DWORD FaceCount;
    DWORD VertexStart;
    DWORD VertexCount;
} D3DXATTRIBUTERANGE;

// One material of a loaded mesh; the name points into the same materials buffer (or is null).
typedef struct _D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    LPSTR pTextureFilename;
} D3DXMATERIAL, *LPD3DXMATERIAL;

// A triangle mesh: a vertex buffer in one FVF, an index buffer (16 bits, or 32 with D3DXMESH_32BIT)
// holding three indices per face, and one attribute id per face. Subset i is the faces of id i.
struct ID3DXBaseMesh : public IUnknown {
    // Sets the mesh's FVF, stream 0 and indices on the device and draws the faces of id AttribId as
    // indexed triangle lists; an id without faces draws nothing.
    virtual HRESULT DrawSubset(DWORD AttribId) = 0;
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
    virtual DWORD GetFVF() = 0;
    virtual DWORD GetNumBytesPerVertex() = 0;
    virtual DWORD GetOptions() = 0;
    virtual HRESULT GetDevice(IDirect3DDevice9** ppDevice) = 0;
    // A copy in another FVF and options: components both formats hold are copied, new ones zeroed;
    // faces, attributes and the attribute table are kept. Fails when 16-bit indices cannot address
    // every vertex.
    virtual HRESULT CloneMeshFVF(DWORD Options, DWORD FVF, IDirect3DDevice9* pD3DDevice,
                                 ID3DXMesh** ppCloneMesh) = 0;
    // The buffers, with a reference the caller releases.
    virtual HRESULT GetVertexBuffer(IDirect3DVertexBuffer9** ppVB) = 0;
    virtual HRESULT GetIndexBuffer(IDirect3DIndexBuffer9** ppIB) = 0;
    virtual HRESULT LockVertexBuffer(DWORD Flags, LPVOID* ppData) = 0;
    virtual HRESULT UnlockVertexBuffer() = 0;
    virtual HRESULT LockIndexBuffer(DWORD Flags, LPVOID* ppData) = 0;
    virtual HRESULT UnlockIndexBuffer() = 0;
    // The table's entries (a null table asks for the count only).
    virtual HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) = 0;
};

struct ID3DXMesh : public ID3DXBaseMesh {
    virtual HRESULT LockAttributeBuffer(DWORD Flags, DWORD** ppData) = 0;
    virtual HRESULT UnlockAttributeBuffer() = 0;
    // COMPACT drops vertices no face uses; ATTRSORT orders the faces by attribute (stable) and builds
    // the attribute table; VERTEXCACHE keeps the order of each subset. The adjacency in is not needed;
    // adjacency out, face remap (new face -> old) and vertex remap (new vertex -> old) are filled
    // when asked.
    virtual HRESULT OptimizeInplace(DWORD Flags, const DWORD* pAdjacencyIn, DWORD* pAdjacencyOut,
                                    DWORD* pFaceRemap, LPD3DXBUFFER* ppVertexRemap) = 0;
    virtual HRESULT SetAttributeTable(const D3DXATTRIBUTERANGE* pAttribTable, DWORD cAttribTableSize) = 0;
};
typedef ID3DXBaseMesh* LPD3DXBASEMESH;

struct IDirectXFileData;

HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);
// An empty mesh of the given counts (indices and attributes zero). 0 faces or vertices, a format
// without a position, or more than 65535 vertices with 16-bit indices answer D3DERR_INVALIDCALL.
HRESULT WINAPI D3DXCreateMeshFVF(DWORD NumFaces, DWORD NumVertices, DWORD Options, DWORD FVF,
                                 IDirect3DDevice9* pD3DDevice, LPD3DXMESH* ppMesh);
// Loads the first Mesh of a text X file (in file order, at the top level or inside frames; frame
// transforms are not applied) with its normals, texture coordinates and materials. Vertices carry
// D3DFVF_XYZ, plus D3DFVF_NORMAL and D3DFVF_TEX1 when the file gives them. Faces of more than three
// indices become fans. Adjacency: three DWORDs per face (0xFFFFFFFF: no neighbour). Materials: a
// buffer of D3DXMATERIAL (Ambient black) followed by the texture names; a mesh without a material list
// gets 0 materials and an empty buffer. No effect instances are made (a pointer given receives null).
// On failure every out pointer stays as it was; invalid data answers D3DXERR_INVALIDDATA, the parser's
// errors are passed on.
HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                  LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials,
                                  LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials, LPD3DXMESH* ppMesh);
// The same from a Mesh data object of the X-file parser.
HRESULT WINAPI D3DXLoadMeshFromXof(IDirectXFileData* pxofMesh, DWORD Options, IDirect3DDevice9* pD3DDevice,
                                   LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials,
                                   LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials, LPD3DXMESH* ppMesh);
// Centre = the mean of the positions, radius = the largest distance from it. D3DERR_INVALIDCALL for
// null pointers, 0 vertices or a stride below 12.
HRESULT WINAPI D3DXComputeBoundingSphere(const D3DXVECTOR3* pFirstPosition, DWORD NumVertices, DWORD dwStride,
                                         D3DXVECTOR3* pCenter, FLOAT* pRadius);
// Vertex normals: the sum of the (area-weighted) normals of the faces using each vertex, normalised.
// D3DERR_INVALIDCALL when the mesh's FVF has no normal.
HRESULT WINAPI D3DXComputeNormals(LPD3DXBASEMESH pMesh, const DWORD* pAdjacency);
// The size in bytes of one vertex of the FVF; 0 for a format without a valid position.
UINT WINAPI D3DXGetFVFVertexSize(DWORD FVF);

// ---- Fonts and text meshes -------------------------------------------------------------------------
DEFINE_GUID(IID_ID3DXFont, 0xd79dbb70, 0x5f21, 0x4d36, 0xbb, 0xc2, 0xff, 0x52, 0x5c, 0x21, 0x3c, 0xdc);

// A font made for a device at a size and weight; it holds a reference to the device until released.
struct ID3DXFont : public IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** ppDevice) = 0;
    // Lets go of what a reset loses, and makes it again after the reset.
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};

// The face is matched the way GDI matches it (a missing face is substituted); a null face is the
// default face. D3DERR_INVALIDCALL for a null device or out pointer.
HRESULT WINAPI D3DXCreateFontA(IDirect3DDevice9* pDevice, INT Height, UINT Width, UINT Weight, UINT MipLevels,
                               BOOL Italic, DWORD CharSet, DWORD OutputPrecision, DWORD Quality,
                               DWORD PitchAndFamily, LPCSTR pFaceName, LPD3DXFONT* ppFont);

#ifndef MORVATH_GLYPHMETRICSFLOAT_DEFINED
#define MORVATH_GLYPHMETRICSFLOAT_DEFINED
typedef struct _POINTFLOAT {
    FLOAT x;
    FLOAT y;
} POINTFLOAT, *PPOINTFLOAT, *LPPOINTFLOAT;
// One character of a text mesh, in the mesh's units: its outline's box, the box's top-left corner
// relative to the character's origin, and how far the origin moves on.
typedef struct _GLYPHMETRICSFLOAT {
    FLOAT gmfBlackBoxX;
    FLOAT gmfBlackBoxY;
    POINTFLOAT gmfptGlyphOrigin;
    FLOAT gmfCellIncX;
    FLOAT gmfCellIncY;
} GLYPHMETRICSFLOAT, *PGLYPHMETRICSFLOAT, *LPGLYPHMETRICSFLOAT;
#endif

// A solid mesh of the text in the font selected into the context (D3DFVF_XYZ | D3DFVF_NORMAL, managed
// pool). Units: the font's em square is 1; the first character's origin is at (0, 0), x to the right,
// y up, the baseline at y = 0. The front faces lie at z = 0 facing -z, the back faces at z = Extrusion
// facing +z, the sides join them. Outlines are flattened so that no point strays more than Deviation
// from the curve (0: one design unit of the face). Adjacency (when asked): three DWORDs per face, the
// faces that share each edge's positions. Glyph metrics (when given): one entry per character.
// D3DERR_INVALIDCALL for a null device, context, text or out pointer, a negative deviation or
// extrusion, or text with nothing to show; out pointers are written only on success.
HRESULT WINAPI D3DXCreateTextA(IDirect3DDevice9* pDevice, HDC hDC, LPCSTR pText, FLOAT Deviation, FLOAT Extrusion,
                               LPD3DXMESH* ppMesh, LPD3DXBUFFER* ppAdjacency, LPGLYPHMETRICSFLOAT pGlyphMetrics);
