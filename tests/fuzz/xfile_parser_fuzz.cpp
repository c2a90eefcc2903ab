// X files through the parser's COM interfaces, as a program held as a resource (DXFILELOAD_FROMRESOURCE):
// every object is walked with its name, id, type and data, its children and references resolved. The
// same bytes are also offered to RegisterTemplates, as a templates-only file would be.
#include <cstring>

#include "dxfile.h"
#include "fuzz_support.h"
#include "restable.h"

namespace {

void Touch(const void* data, DWORD size) {
    std::vector<uint8_t> copy(size);
    if (size != 0) std::memcpy(copy.data(), data, size);
}

void Walk(IDirectXFileData* object, int depth) {
    char name[64];
    DWORD nameSize = sizeof name;
    object->GetName(name, &nameSize);
    GUID id{};
    object->GetId(&id);
    const GUID* type = nullptr;
    object->GetType(&type);
    DWORD size = 0;
    void* data = nullptr;
    if (SUCCEEDED(object->GetData(nullptr, &size, &data))) Touch(data, size);
    IDirectXFileObject* child = nullptr;
    while (depth < 32 && SUCCEEDED(object->GetNextObject(&child))) {
        IDirectXFileData* childData = nullptr;
        IDirectXFileDataReference* reference = nullptr;
        if (SUCCEEDED(child->QueryInterface(IID_IDirectXFileData, reinterpret_cast<void**>(&childData)))) {
            Walk(childData, depth + 1);
            childData->Release();
        } else if (SUCCEEDED(child->QueryInterface(IID_IDirectXFileDataReference,
                                                   reinterpret_cast<void**>(&reference)))) {
            IDirectXFileData* target = nullptr;
            if (SUCCEEDED(reference->Resolve(&target))) {
                Walk(target, depth + 8);  // a reference may lead back up: go less deep through one
                target->Release();
            }
            reference->Release();
        }
        child->Release();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IDirectXFile* file = nullptr;
    if (DirectXFileCreate(&file) != DXFILE_OK) std::abort();
    if (file->RegisterTemplates(const_cast<char*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES) != DXFILE_OK)
        std::abort();
    fuzz::RegisterResource("XFILE", "MODEL", data, size);
    DXFILELOADRESOURCE resource{nullptr, "MODEL", "XFILE"};
    IDirectXFileEnumObject* objects = nullptr;
    if (SUCCEEDED(file->CreateEnumObject(&resource, DXFILELOAD_FROMRESOURCE, &objects))) {
        IDirectXFileData* object = nullptr;
        for (int i = 0; i < 256 && SUCCEEDED(objects->GetNextDataObject(&object)); ++i) {
            Walk(object, 0);
            object->Release();
        }
        if (SUCCEEDED(objects->GetDataObjectByName("Root", &object))) object->Release();
        objects->Release();
    }
    file->Release();

    IDirectXFile* templates = nullptr;
    if (DirectXFileCreate(&templates) != DXFILE_OK) std::abort();
    templates->RegisterTemplates(const_cast<uint8_t*>(data), DWORD(size));
    templates->Release();
    fuzz::ClearResources();
    return 0;
}
