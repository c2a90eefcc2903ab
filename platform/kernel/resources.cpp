// The program's resources: the table the program registers at start-up, found by type, name and
// language; FindResourceA and its companions hand out pointers into that table.
#include <cstdlib>
#include <string_view>

#include "kernel/modules.h"
#include "kernel/resources.h"
#include "kernel/text_case.h"
#include "restable.h"
#include "winbase.h"

namespace {

const RESOURCE_TABLE_ENTRY* g_entries = nullptr;
UINT g_count = 0;

// A type or name as the API passes it: an id, a "#123" text meaning an id, or a text.
struct ResourceKey {
    bool isId = false;
    WORD id = 0;
    std::string_view text;
};

ResourceKey KeyOf(LPCSTR value) {
    ResourceKey key;
    if (IS_INTRESOURCE(value)) {
        key.isId = true;
        key.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(value));
        return key;
    }
    key.text = value;
    if (key.text.size() > 1 && key.text.front() == '#') {
        char* end = nullptr;
        unsigned long id = std::strtoul(value + 1, &end, 10);
        if (end != nullptr && *end == '\0' && id <= 0xFFFF) {
            key.isId = true;
            key.id = static_cast<WORD>(id);
        }
    }
    return key;
}

bool Matches(const ResourceKey& wanted, LPCSTR entryValue) {
    ResourceKey entry = KeyOf(entryValue);
    if (wanted.isId != entry.isId) return false;
    return wanted.isId ? wanted.id == entry.id : kernel::EqualsIgnoreCase(wanted.text, entry.text);
}

const RESOURCE_TABLE_ENTRY* EntryOf(HRSRC handle) {
    // Only handles that point at an entry of the table are accepted.
    auto address = reinterpret_cast<uintptr_t>(handle);
    auto first = reinterpret_cast<uintptr_t>(g_entries);
    if (g_entries == nullptr || address < first) return nullptr;
    uintptr_t offset = address - first;
    if (offset % sizeof(RESOURCE_TABLE_ENTRY) != 0 || offset / sizeof(RESOURCE_TABLE_ENTRY) >= g_count) return nullptr;
    return g_entries + offset / sizeof(RESOURCE_TABLE_ENTRY);
}

}  // namespace

void WINAPI RegisterProgramResources(const RESOURCE_TABLE_ENTRY* entries, UINT count) {
    g_entries = entries;
    g_count = entries == nullptr ? 0 : count;
}

namespace kernel {

const RESOURCE_TABLE_ENTRY* FindProgramResource(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    if (!IsProgramModule(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    if (type == nullptr || name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ResourceKey wantedType = KeyOf(type);
    ResourceKey wantedName = KeyOf(name);
    bool typeFound = false;
    const RESOURCE_TABLE_ENTRY* exact = nullptr;
    const RESOURCE_TABLE_ENTRY* neutral = nullptr;
    const RESOURCE_TABLE_ENTRY* any = nullptr;
    for (UINT i = 0; i < g_count; ++i) {
        const RESOURCE_TABLE_ENTRY& entry = g_entries[i];
        if (!Matches(wantedType, entry.type)) continue;
        typeFound = true;
        if (!Matches(wantedName, entry.name)) continue;
        if (entry.language == language && exact == nullptr) exact = &entry;
        if (entry.language == 0 && neutral == nullptr) neutral = &entry;
        if (any == nullptr) any = &entry;
    }
    const RESOURCE_TABLE_ENTRY* found = exact != nullptr ? exact : neutral != nullptr ? neutral : any;
    if (found == nullptr) SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return found;
}

}  // namespace kernel

HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage) {
    const RESOURCE_TABLE_ENTRY* entry = kernel::FindProgramResource(hModule, lpType, lpName, wLanguage);
    return reinterpret_cast<HRSRC>(const_cast<RESOURCE_TABLE_ENTRY*>(entry));
}

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    return FindResourceExA(hModule, lpType, lpName, 0);
}

// The loaded resource is the registered data itself: it lives as long as the program.
HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
    const RESOURCE_TABLE_ENTRY* entry = EntryOf(hResInfo);
    if (entry == nullptr || !kernel::IsProgramModule(hModule)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return const_cast<void*>(entry->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    const RESOURCE_TABLE_ENTRY* entry = EntryOf(hResInfo);
    if (entry == nullptr || !kernel::IsProgramModule(hModule)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return 0;
    }
    return entry->size;
}

// Resources are never unloaded; the platform answers FALSE as well.
BOOL WINAPI FreeResource(HGLOBAL hResData) { return FALSE; }
