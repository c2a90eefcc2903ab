// Checking the objects the mesh loader reads against the standard templates' layouts.
#include "xfile_templates.h"

namespace d3dx9 {

HRESULT StandardLayouts::Load() {
    return dxfile::ParseTemplates(reinterpret_cast<const uint8_t*>(D3DRM_XTEMPLATES), D3DRM_XTEMPLATE_BYTES, set_);
}

bool StandardLayouts::Matches(IDirectXFileData* data, const char* name) const {
    const dxfile::Template* expected = set_.Find(name);
    const dxfile::Template* actual = dxfile::TemplateOf(data);
    const GUID* type = nullptr;
    if (!expected || !actual || FAILED(data->GetType(&type)) || !IsEqualGUID(*type, expected->id)) return false;
    return dxfile::SameLayout(*actual, *expected);
}

}  // namespace d3dx9
