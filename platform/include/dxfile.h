// The X-file parser: templates, data objects with their names, GUIDs and children, and references
// between objects. Files in the text encoding ("xof 0302txt 0032", versions 03.02 and 03.03) are read;
// binary and compressed files are refused with DXFILEERR_BADFILETYPE.
#pragma once

#include "unknwn.h"
#include "windef.h"
#include "winerror.h"

typedef DWORD DXFILEFORMAT;
#define DXFILEFORMAT_BINARY 0
#define DXFILEFORMAT_TEXT 1
#define DXFILEFORMAT_COMPRESSED 2

typedef DWORD DXFILELOADOPTIONS;
#define DXFILELOAD_FROMFILE 0x00L
#define DXFILELOAD_FROMRESOURCE 0x01L

// Where a file held as a program resource is found: module (null = the program), name and type.
typedef struct _DXFILELOADRESOURCE {
    HMODULE hModule;
    LPCSTR lpName;
    LPCSTR lpType;
} DXFILELOADRESOURCE, *LPDXFILELOADRESOURCE;

// Result codes (facility 0x876, codes from 850).
#define _FACDD 0x876
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, _FACDD, code)
#define DXFILE_OK 0
#define DXFILEERR_BADOBJECT MAKE_DDHRESULT(850)
#define DXFILEERR_BADVALUE MAKE_DDHRESULT(851)
#define DXFILEERR_BADTYPE MAKE_DDHRESULT(852)
#define DXFILEERR_BADSTREAMHANDLE MAKE_DDHRESULT(853)
#define DXFILEERR_BADALLOC MAKE_DDHRESULT(854)
#define DXFILEERR_NOTFOUND MAKE_DDHRESULT(855)
#define DXFILEERR_NOTDONEYET MAKE_DDHRESULT(856)
#define DXFILEERR_FILENOTFOUND MAKE_DDHRESULT(857)
#define DXFILEERR_RESOURCENOTFOUND MAKE_DDHRESULT(858)
#define DXFILEERR_URLNOTFOUND MAKE_DDHRESULT(859)
#define DXFILEERR_BADRESOURCE MAKE_DDHRESULT(860)
#define DXFILEERR_BADFILETYPE MAKE_DDHRESULT(861)
#define DXFILEERR_BADFILEVERSION MAKE_DDHRESULT(862)
#define DXFILEERR_BADFILEFLOATSIZE MAKE_DDHRESULT(863)
#define DXFILEERR_BADFILECOMPRESSIONTYPE MAKE_DDHRESULT(864)
#define DXFILEERR_BADFILE MAKE_DDHRESULT(865)
#define DXFILEERR_PARSEERROR MAKE_DDHRESULT(866)
#define DXFILEERR_NOTEMPLATE MAKE_DDHRESULT(867)
#define DXFILEERR_BADARRAYSIZE MAKE_DDHRESULT(868)
#define DXFILEERR_BADDATAREFERENCE MAKE_DDHRESULT(869)
#define DXFILEERR_INTERNALERROR MAKE_DDHRESULT(870)
#define DXFILEERR_NOMOREOBJECTS MAKE_DDHRESULT(871)
#define DXFILEERR_BADINTRINSICS MAKE_DDHRESULT(872)
#define DXFILEERR_NOMORESTREAMHANDLES MAKE_DDHRESULT(873)
#define DXFILEERR_NOMOREDATA MAKE_DDHRESULT(874)
#define DXFILEERR_BADCACHEFILE MAKE_DDHRESULT(875)
#define DXFILEERR_NOINTERNET MAKE_DDHRESULT(876)

// Interface identifiers.
DEFINE_GUID(IID_IDirectXFile, 0x3d82ab40, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(IID_IDirectXFileEnumObject, 0x3d82ab41, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(IID_IDirectXFileObject, 0x3d82ab43, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(IID_IDirectXFileData, 0x3d82ab44, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(IID_IDirectXFileDataReference, 0x3d82ab45, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);

// Identifiers of the standard templates (see D3DRM_XTEMPLATES).
DEFINE_GUID(TID_DXFILEHeader, 0x3d82ab43, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(TID_D3DRMVector, 0x3d82ab5e, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(TID_D3DRMCoords2d, 0xf6f23f44, 0x7686, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMMatrix4x4, 0xf6f23f45, 0x7686, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMColorRGBA, 0x35ff44e0, 0x6c7c, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMColorRGB, 0xd3e16e81, 0x7835, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMTextureFilename, 0xa42790e1, 0x7810, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMMaterial, 0x3d82ab4d, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(TID_D3DRMMeshFace, 0x3d82ab5f, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(TID_D3DRMMeshTextureCoords, 0xf6f23f40, 0x7686, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMMeshMaterialList, 0xf6f23f42, 0x7686, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMMeshNormals, 0xf6f23f43, 0x7686, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMMeshVertexColors, 0x1630b821, 0x7842, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMIndexedColor, 0x1630b820, 0x7842, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMMesh, 0x3d82ab44, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);
DEFINE_GUID(TID_D3DRMFrameTransformMatrix, 0xf6f23f41, 0x7686, 0x11cf, 0x8f, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xa3);
DEFINE_GUID(TID_D3DRMFrame, 0x3d82ab46, 0x62da, 0x11cf, 0xab, 0x39, 0x00, 0x20, 0xaf, 0x71, 0xe4, 0x33);

// The standard templates in the text encoding, ready for RegisterTemplates.
extern const char D3DRM_XTEMPLATES[];
extern const DWORD D3DRM_XTEMPLATE_BYTES;

struct IDirectXFileEnumObject;
struct IDirectXFileData;

struct IDirectXFile : public IUnknown {
    // Opens a file (source = path, DXFILELOAD_FROMFILE) or a program resource (source =
    // DXFILELOADRESOURCE*, DXFILELOAD_FROMRESOURCE) and reads its top-level objects.
    virtual HRESULT CreateEnumObject(LPVOID pvSource, DXFILELOADOPTIONS dwLoadOptions,
                                     IDirectXFileEnumObject** ppEnumObj) = 0;
    // Adds the templates of an X file held in memory (templates only) to those files may use.
    virtual HRESULT RegisterTemplates(LPVOID pvData, DWORD cbSize) = 0;
};

struct IDirectXFileEnumObject : public IUnknown {
    // The next top-level data object in file order; DXFILEERR_NOMOREOBJECTS after the last, or the
    // parse error met there.
    virtual HRESULT GetNextDataObject(IDirectXFileData** ppDataObj) = 0;
    // A top-level object by its GUID or its name.
    virtual HRESULT GetDataObjectById(REFGUID rguid, IDirectXFileData** ppDataObj) = 0;
    virtual HRESULT GetDataObjectByName(LPCSTR szName, IDirectXFileData** ppDataObj) = 0;
};

struct IDirectXFileObject : public IUnknown {
    // The object's name with its terminating zero: a null buffer asks for the size only; a buffer too
    // small answers DXFILEERR_BADVALUE. An unnamed object gives "".
    virtual HRESULT GetName(LPSTR pstrNameBuf, LPDWORD pdwBufLen) = 0;
    // The object's own GUID (GUID_NULL when the file gives none).
    virtual HRESULT GetId(LPGUID pGuid) = 0;
};

struct IDirectXFileData : public IDirectXFileObject {
    // The object's data packed as its template lays it out (WORD 2 bytes, DWORD and FLOAT 4, DOUBLE 8,
    // CHAR/UCHAR/BYTE 1, strings as char pointers), or only the named member. The pointer stays valid
    // while any object of the file is held.
    virtual HRESULT GetData(LPCSTR szMember, DWORD* pcbSize, void** ppvData) = 0;
    virtual HRESULT GetType(const GUID** ppguid) = 0;
    // The next child: a data object or a reference; DXFILEERR_NOMOREOBJECTS after the last.
    virtual HRESULT GetNextObject(IDirectXFileObject** ppChildObj) = 0;
};

struct IDirectXFileDataReference : public IDirectXFileObject {
    // The data object the reference names; DXFILEERR_BADDATAREFERENCE when the file holds none.
    virtual HRESULT Resolve(IDirectXFileData** ppDataObj) = 0;
};

typedef IDirectXFile* LPDIRECTXFILE;
typedef IDirectXFileEnumObject* LPDIRECTXFILEENUMOBJECT;
typedef IDirectXFileObject* LPDIRECTXFILEOBJECT;
typedef IDirectXFileData* LPDIRECTXFILEDATA;
typedef IDirectXFileDataReference* LPDIRECTXFILEDATAREFERENCE;

HRESULT WINAPI DirectXFileCreate(LPDIRECTXFILE* lplpDirectXFile);
