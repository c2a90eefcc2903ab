// The root of a frame tree: reading a file or resource through the X-file parser, and the two-pass draw.
#include <cstring>

#include "media_files.h"
#include "x_frame.h"
#include "xfile_template_set.h"

HRESULT CXFileRoot::Load(IDirect3DDevice9* device, void* source, DXFILELOADOPTIONS options) {
    IDirectXFile* file = nullptr;
    if (FAILED(DirectXFileCreate(&file))) return E_FAIL;
    if (FAILED(file->RegisterTemplates(const_cast<char*>(XFileTemplateSet), XFileTemplateSetBytes))) {
        file->Release();
        return E_FAIL;
    }
    IDirectXFileEnumObject* objects = nullptr;
    if (HRESULT hr = file->CreateEnumObject(source, options, &objects); FAILED(hr)) {
        file->Release();
        return hr;
    }
    // The end of the file and a parse error alike end the loop.
    for (;;) {
        IDirectXFileData* data = nullptr;
        if (FAILED(objects->GetNextDataObject(&data))) break;
        const HRESULT hr = LoadChild(device, data, this);
        data->Release();
        if (FAILED(hr)) {
            objects->Release();
            file->Release();
            return E_FAIL;
        }
    }
    objects->Release();
    file->Release();
    return S_OK;
}

HRESULT CXFileRoot::LoadFromFile(IDirect3DDevice9* device, const char* fileName) {
    char text[260] = {};
    LocateMediaFileBytes(text, sizeof text, fileName);
    char path[260] = {};
    TextToAnsiBytes(path, text, sizeof path);
    return Load(device, path, DXFILELOAD_FROMFILE);
}

HRESULT CXFileRoot::LoadFromResource(IDirect3DDevice9* device, const char* resourceName, const char* resourceType) {
    char type[260] = {};
    TextToAnsiBytes(type, resourceType, sizeof type);
    DXFILELOADRESOURCE resource{nullptr, resourceName, type};
    return Load(device, &resource, DXFILELOAD_FROMRESOURCE);
}

HRESULT CXFileRoot::DrawAll(IDirect3DDevice9* device, const D3DXMATRIX* parent) {
    D3DXMATRIX p;
    if (parent) {
        p = *parent;
    } else {
        device->GetTransform(D3DTS_WORLD, &p);
    }
    // At the root the caller's matrix comes first and the root's own last.
    D3DXMATRIX w;
    D3DXMatrixMultiply(&w, &p, &matrix_);
    device->SetTransform(D3DTS_WORLD, &w);
    if (child_) child_->DrawTree(device, true, false, &w);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    if (child_) child_->DrawTree(device, false, true, &w);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetTransform(D3DTS_WORLD, &p);
    return S_OK;
}
