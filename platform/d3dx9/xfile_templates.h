// The templates the mesh loader registers besides the standard set, and the member layouts it checks
// every object it interprets against.
#pragma once

#include "dxfile.h"
#include "dxfile/document.h"

namespace d3dx9 {

extern const char kXExtensionTemplates[];
extern const unsigned kXExtensionTemplateBytes;

// The standard templates, parsed once per load: an object is read as, say, a TextureFilename only
// when its GUID is that template's and its members are laid out as that template's, so a file that
// gives the GUID to a template of its own cannot make the loader read its data as something else.
class StandardLayouts {
public:
    HRESULT Load();
    // True when `data` is an object of the standard template `name` with that template's layout.
    bool Matches(IDirectXFileData* data, const char* name) const;

private:
    dxfile::TemplateSet set_;
};

}  // namespace d3dx9
