// The registry as a test sets it up: the hives are emptied before and after each use, and the SDK's
// samples path can be written under HKEY_LOCAL_MACHINE in any form (text with or without its
// terminator, another type).
#pragma once

#include <string>

#include "kernel/registry_control.h"
#include "windef.h"
#include "winreg.h"

class ScopedRegistry {
public:
    ScopedRegistry() { kernel::registry_control::ClearHives(); }
    ~ScopedRegistry() { kernel::registry_control::ClearHives(); }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

    // Creates (or opens) a key for writing; the scope closes nothing, the hives are cleared instead.
    static HKEY CreateKey(HKEY root, const char* path) {
        HKEY key = nullptr;
        RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }

    static void SetRaw(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    }

    // "DX9SDK Samples Path" under HKLM "Software\Microsoft\DirectX SDK".
    static void SetSdkPath(const std::string& path, bool withTerminator = true, DWORD type = REG_SZ) {
        HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK");
        SetRaw(key, "DX9SDK Samples Path", type, path.c_str(),
               static_cast<DWORD>(path.size() + (withTerminator ? 1 : 0)));
        RegCloseKey(key);
    }
    // The key alone, without the value.
    static void CreateSdkKey() { RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK")); }
};
