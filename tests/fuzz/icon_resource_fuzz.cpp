// Icon resources as the program carries them: the input is an RT_GROUP_ICON directory and the RT_ICON
// image it names (two parts, see SplitParts). LoadIconA reads them; the icon is used as a window
// class's icon would be (its bitmaps read back) and destroyed.
#include "fuzz_support.h"
#include "restable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<fuzz::Bytes> parts = fuzz::SplitParts(data, size, 2);
    // The group names its image by id: offer the image under every id a small group may name.
    std::vector<RESOURCE_TABLE_ENTRY> table;
    table.push_back({RT_GROUP_ICON, MAKEINTRESOURCEA(101), 1033, parts[0].data(), DWORD(parts[0].size())});
    for (WORD id = 0; id < 8; ++id)
        table.push_back({RT_ICON, MAKEINTRESOURCEA(id), 1033, parts[1].data(), DWORD(parts[1].size())});
    RegisterProgramResources(table.data(), UINT(table.size()));
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
    if (icon != nullptr) {
        ICONINFO info{};
        if (GetIconInfo(icon, &info)) {
            BITMAP header{};
            for (HBITMAP bitmap : {info.hbmMask, info.hbmColor}) {
                if (bitmap == nullptr) continue;
                if (GetObjectA(bitmap, sizeof header, &header) == 0) std::abort();
                DeleteObject(bitmap);
            }
        }
        if (!DestroyIcon(icon)) std::abort();
    }
    fuzz::ClearResources();  // the table above lives on this call's stack
    return 0;
}
