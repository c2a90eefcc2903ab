#include "xfile_template_set.h"

#include "dxfile.h"

const char* const XFileTemplateSet = D3DRM_XTEMPLATES;
const DWORD XFileTemplateSetBytes = D3DRM_XTEMPLATE_BYTES;
