// The frame tree. Operations that walk it go along each sibling chain in a loop and recurse only into
// children, so a frame with tens of thousands of siblings costs no stack; the nesting itself is
// bounded by the parser's.
#include "x_frame.h"

#include <cstring>
#include <new>

#include "media_files.h"
#include "windows.h"

CXFrame::CXFrame(const char* name) {
    CopyBoundedName(name_, name);
    D3DXMatrixIdentity(&matrix_);
}

CXFrame::~CXFrame() {
    delete child_;
    CXFrame* sibling = next_;
    next_ = nullptr;
    while (sibling) {
        CXFrame* after = sibling->next_;
        sibling->next_ = nullptr;
        delete sibling;
        sibling = after;
    }
}

HRESULT CXFrame::LoadChild(IDirect3DDevice9* device, IDirectXFileData* data, CXFrame* target) {
    const GUID* type = nullptr;
    if (HRESULT hr = data->GetType(&type); FAILED(hr)) return hr;
    if (std::memcmp(type, &TID_D3DRMMesh, sizeof(GUID)) == 0) return AttachMeshFromData(device, data, target);
    if (std::memcmp(type, &TID_D3DRMFrameTransformMatrix, sizeof(GUID)) == 0) {
        DWORD size = 0;
        void* matrix = nullptr;
        if (HRESULT hr = data->GetData(nullptr, &size, &matrix); FAILED(hr)) return hr;
        // Sixteen floats or the object is passed over: nothing is read past its data.
        if (matrix && size >= sizeof(D3DXMATRIX)) target->AssignMatrix(static_cast<const D3DXMATRIX*>(matrix));
        return S_OK;
    }
    if (std::memcmp(type, &TID_D3DRMFrame, sizeof(GUID)) != 0) return S_OK;

    char fileName[512] = {};
    DWORD size = sizeof fileName;
    if (HRESULT hr = data->GetName(fileName, &size); FAILED(hr)) return hr;
    char name[512];
    AnsiToTextBytes(name, fileName, sizeof name);
    CXFrame* frame = new (std::nothrow) CXFrame(name);
    if (!frame) return E_OUTOFMEMORY;
    frame->next_ = target->child_;
    target->child_ = frame;
    for (;;) {
        IDirectXFileObject* child = nullptr;
        if (FAILED(data->GetNextObject(&child))) break;
        IDirectXFileData* childData = nullptr;
        HRESULT hr = child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&childData));
        if (SUCCEEDED(hr)) {
            hr = LoadChild(device, childData, frame);
            childData->Release();
        }
        child->Release();
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT CXFrame::AttachMeshFromData(IDirect3DDevice9* device, IDirectXFileData* data, CXFrame* target) {
    if (target->mesh_) return E_FAIL;
    char fileName[512] = {};
    DWORD size = sizeof fileName;
    if (HRESULT hr = data->GetName(fileName, &size); FAILED(hr)) return hr;
    char name[512];
    AnsiToTextBytes(name, fileName, sizeof name);
    target->mesh_ = new (std::nothrow) CXMesh(name);
    if (!target->mesh_) return E_OUTOFMEMORY;
    target->mesh_->LoadFromData(device, data);
    return S_OK;
}

void CXFrame::AssignMatrix(const D3DXMATRIX* m) { std::memcpy(&matrix_, m, sizeof matrix_); }

bool CXFrame::ForEachMesh(bool (*function)(CXMesh*, void*), void* context) {
    for (CXFrame* f = this; f; f = f->next_) {
        if (f->mesh_) function(f->mesh_, context);
        if (f->child_) f->child_->ForEachMesh(function, context);
    }
    return true;
}

CXMesh* CXFrame::LookupMeshByName(const char* name) {
    for (CXFrame* f = this; f; f = f->next_) {
        if (f->mesh_ && lstrcmpiA(f->mesh_->Name(), name) == 0) return f->mesh_;
        if (f->child_)
            if (CXMesh* found = f->child_->LookupMeshByName(name)) return found;
    }
    return nullptr;
}

CXFrame* CXFrame::LookupFrameByName(const char* name) {
    for (CXFrame* f = this; f; f = f->next_) {
        if (lstrcmpiA(f->name_, name) == 0) return f;
        if (f->child_)
            if (CXFrame* found = f->child_->LookupFrameByName(name)) return found;
    }
    return nullptr;
}

HRESULT CXFrame::CreateVolatileResources(IDirect3DDevice9* device) {
    for (CXFrame* f = this; f; f = f->next_) {
        if (f->mesh_) f->mesh_->CreateVolatileResources(device);
        if (f->child_) f->child_->CreateVolatileResources(device);
    }
    return S_OK;
}

HRESULT CXFrame::ReleaseVolatileResources() {
    for (CXFrame* f = this; f; f = f->next_) {
        if (f->mesh_) f->mesh_->ReleaseVolatileResources();
        if (f->child_) f->child_->ReleaseVolatileResources();
    }
    return S_OK;
}

HRESULT CXFrame::ReleaseAll() {
    for (CXFrame* f = this; f; f = f->next_) {
        if (f->mesh_) {
            f->mesh_->ReleaseAll();
            delete f->mesh_;
            f->mesh_ = nullptr;
        }
        if (f->child_) {
            f->child_->ReleaseAll();
            delete f->child_;
            f->child_ = nullptr;
        }
    }
    // The siblings hold no meshes and no children now; their chain goes in one loop.
    CXFrame* sibling = next_;
    next_ = nullptr;
    delete sibling;
    return S_OK;
}

HRESULT CXFrame::DrawTree(IDirect3DDevice9* device, bool opaquePass, bool alphaPass, const D3DXMATRIX* parent) {
    D3DXMATRIX p;
    if (parent) {
        p = *parent;
    } else {
        device->GetTransform(D3DTS_WORLD, &p);
    }
    for (CXFrame* f = this; f; f = f->next_) {
        D3DXMATRIX w;
        D3DXMatrixMultiply(&w, &f->matrix_, &p);
        device->SetTransform(D3DTS_WORLD, &w);
        if (f->mesh_) f->mesh_->DrawSubsets(device, opaquePass, alphaPass);
        if (f->child_) f->child_->DrawTree(device, opaquePass, alphaPass, &w);
        device->SetTransform(D3DTS_WORLD, &p);
    }
    return S_OK;
}
