// The program's resource table, registered with the platform before the program's entry runs.
#include "restable.h"
#include "resource_builders.h"
#include "resource_constants.h"

namespace {

RESOURCE_TABLE_ENTRY g_resourceTable[6];

RESOURCE_TABLE_ENTRY Entry(LPCSTR type, LPCSTR name, const std::vector<uint8_t>& data) {
    return {type, name, kEnglishUS, data.data(), static_cast<DWORD>(data.size())};
}

// Runs during static initialisation: the table is in place before the program's entry function.
const bool g_registered = [] {
    g_resourceTable[0] = Entry(RT_GROUP_ICON, MAKEINTRESOURCE(kMainIconId), MainIconGroup());
    g_resourceTable[1] = Entry(RT_ICON, MAKEINTRESOURCE(kMainIconImageId), MainIconImage());
    g_resourceTable[2] = Entry(RT_ACCELERATOR, MAKEINTRESOURCE(kAcceleratorTableId), AcceleratorTable());
    g_resourceTable[3] = Entry(RT_MENU, MAKEINTRESOURCE(kMainMenuId), MainMenuTemplate());
    g_resourceTable[4] = Entry(RT_DIALOG, MAKEINTRESOURCE(kSettingsDialogId), SettingsDialogTemplate());
    g_resourceTable[5] = Entry("WAVE", "BOUNCE", BounceSound());
    RegisterProgramResources(g_resourceTable, sizeof(g_resourceTable) / sizeof(g_resourceTable[0]));
    return true;
}();

}  // namespace
