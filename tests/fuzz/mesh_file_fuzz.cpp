// X files through the mesh loader, as the program loads its meshes: D3DXLoadMeshFromXA with adjacency
// and materials; the materials' texture names are read, and the mesh is cloned with normals, optimised
// and drawn subset by subset.
#include <cstring>

#include "d3dx9.h"
#include "fuzz_support.h"

namespace {

void ReadBuffer(ID3DXBuffer* buffer) {
    if (buffer == nullptr) return;
    std::vector<uint8_t> copy(buffer->GetBufferSize());
    if (!copy.empty()) std::memcpy(copy.data(), buffer->GetBufferPointer(), copy.size());
    buffer->Release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IDirect3DDevice9* device = fuzz::FuzzDevice();
    const std::string path = fuzz::WriteScratchFile(data, size, ".x");
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD materialCount = 0;
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, device, &adjacency, &materials, nullptr,
                                  &materialCount, &mesh)))
        return 0;
    volatile size_t names = 0;
    if (materials != nullptr) {
        const auto* list = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
        for (DWORD i = 0; i < materialCount; ++i)
            if (list[i].pTextureFilename != nullptr) names = names + std::strlen(list[i].pTextureFilename);
    }
    // What the program does with a mesh: normals in its own FVF, faces sorted by attribute, drawn.
    ID3DXMesh* clone = nullptr;
    if (SUCCEEDED(mesh->CloneMeshFVF(D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL, device, &clone))) {
        D3DXComputeNormals(clone, nullptr);
        std::vector<DWORD> adjacencyOut(size_t(clone->GetNumFaces()) * 3);
        clone->OptimizeInplace(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE, nullptr,
                               adjacencyOut.data(), nullptr, nullptr);
        device->BeginScene();
        for (DWORD subset = 0; subset < std::max<DWORD>(materialCount, 1); ++subset) clone->DrawSubset(subset);
        device->EndScene();
        clone->Release();
    }
    ReadBuffer(adjacency);
    ReadBuffer(materials);
    mesh->Release();
    return 0;
}
