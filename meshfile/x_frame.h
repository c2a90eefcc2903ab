// A tree of frames read from an X file: each frame has a name, a transform relative to its parent, at
// most one mesh, a list of child frames (newest first) and a link to its next sibling. The root stands
// for the whole file: it drives the platform's X-file parser and draws the tree in an opaque pass and
// then a blended one.
#pragma once

#include "d3d9.h"
#include "d3dx9.h"
#include "dxfile.h"
#include "x_mesh.h"

class CXFrame {
public:
    explicit CXFrame(const char* name);
    // Deletes the children and the following siblings, not the mesh: the tree's owner calls ReleaseAll.
    virtual ~CXFrame();
    CXFrame(const CXFrame&) = delete;
    CXFrame& operator=(const CXFrame&) = delete;

    // One data object of the file into `target`: a Mesh becomes its mesh, a FrameTransformMatrix its
    // matrix, a Frame a new child at the head of its list with that frame's children loaded in turn;
    // other objects are passed over. The failing call's HRESULT is returned.
    HRESULT LoadChild(IDirect3DDevice9* device, IDirectXFileData* data, CXFrame* target);
    // E_FAIL when the target has a mesh already; a mesh the loader refuses stays attached and empty.
    HRESULT AttachMeshFromData(IDirect3DDevice9* device, IDirectXFileData* data, CXFrame* target);
    void AssignMatrix(const D3DXMATRIX* m);

    // The frame's own mesh, its whole subtree, then its following siblings.
    bool ForEachMesh(bool (*function)(CXMesh* mesh, void* context), void* context);
    // Names compared ignoring case, in the order ForEachMesh visits.
    CXMesh* LookupMeshByName(const char* name);
    CXFrame* LookupFrameByName(const char* name);

    // The stages of every mesh in the subtree and the following siblings.
    HRESULT CreateVolatileResources(IDirect3DDevice9* device);
    HRESULT ReleaseVolatileResources();
    // Releases and deletes every mesh and frame below and beside; name and matrix stay.
    HRESULT ReleaseAll();

    // Draws with world = frame matrix · parent (the device's world transform when parent is null), the
    // children under that, and the following siblings under parent; leaves the world as it found it.
    HRESULT DrawTree(IDirect3DDevice9* device, bool opaquePass, bool alphaPass, const D3DXMATRIX* parent);

    const char* Name() const { return name_; }
    const D3DXMATRIX& Matrix() const { return matrix_; }
    CXMesh* Mesh() const { return mesh_; }
    CXFrame* NextSibling() const { return next_; }
    CXFrame* FirstChild() const { return child_; }

protected:
    char name_[kXNameBytes];
    D3DXMATRIX matrix_;
    CXMesh* mesh_ = nullptr;
    CXFrame* next_ = nullptr;
    CXFrame* child_ = nullptr;
};

class CXFileRoot : public CXFrame {
public:
    explicit CXFileRoot(const char* name) : CXFrame(name) {}

    // Reads a whole file (searched as a media file) or a resource of the program into the tree, adding
    // to what it holds. E_FAIL when the parser cannot be made or a frame's content fails; the parser's
    // own code when the file cannot be opened. A parse error ends the file like its end does.
    HRESULT LoadFromFile(IDirect3DDevice9* device, const char* fileName);
    HRESULT LoadFromResource(IDirect3DDevice9* device, const char* resourceName, const char* resourceType);
    // Every top-level frame: first the opaque subsets, then the translucent ones blended by source
    // alpha, under world = parent · root matrix. Blending is off afterwards, the world as it was.
    HRESULT DrawAll(IDirect3DDevice9* device, const D3DXMATRIX* parent);

private:
    HRESULT Load(IDirect3DDevice9* device, void* source, DXFILELOADOPTIONS options);
};
