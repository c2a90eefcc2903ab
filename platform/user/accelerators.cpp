// Accelerator tables: loaded from the platform's resource form and matched against key messages.
#include <map>
#include <vector>

#include "kernel/resources.h"
#include "machine/machine.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user {
namespace {

constexpr WORD kLastEntry = 0x80;
constexpr size_t kEntryBytes = 8;  // WORD flags, WORD key, WORD command, WORD padding

struct AcceleratorTables {
    std::map<HACCEL, std::vector<ACCEL>> tables;
    uintptr_t nextHandle = 0x7C0000010000;
};

void ResetAccelerators();

AcceleratorTables& State() {
    static AcceleratorTables state;
    static bool registered = (detail::RegisterUserReset(&ResetAccelerators), true);
    (void)registered;
    return state;
}

void ResetAccelerators() {
    uintptr_t next = State().nextHandle;
    State() = AcceleratorTables{};
    State().nextHandle = next;
}

WORD ReadWord(const uint8_t* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

bool Matches(const ACCEL& entry, const MSG& msg) {
    const bool alt = (msg.lParam & (1 << 29)) != 0;
    const bool ctrl = machine::IsVirtualKeyDown(VK_CONTROL);
    const bool shift = machine::IsVirtualKeyDown(VK_SHIFT);
    if (entry.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
        if (entry.key != msg.wParam) return false;
        return alt == ((entry.fVirt & FALT) != 0) && ctrl == ((entry.fVirt & FCONTROL) != 0) &&
               shift == ((entry.fVirt & FSHIFT) != 0);
    }
    // A character entry: the character message, with Alt as the entry says.
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
    return entry.key == msg.wParam && alt == ((entry.fVirt & FALT) != 0);
}

}  // namespace
}  // namespace user

HACCEL WINAPI LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR lpTableName) {
    const RESOURCE_TABLE_ENTRY* entry = kernel::FindProgramResource(hInstance, RT_ACCELERATOR, lpTableName);
    if (entry == nullptr) return nullptr;  // the kernel has set the reason
    const auto* data = static_cast<const uint8_t*>(entry->data);
    std::vector<ACCEL> accelerators;
    bool ended = false;
    for (size_t at = 0; data != nullptr && at + user::kEntryBytes <= entry->size && !ended; at += user::kEntryBytes) {
        const WORD flags = user::ReadWord(data + at);
        accelerators.push_back(ACCEL{static_cast<BYTE>(flags & 0x7F), user::ReadWord(data + at + 2),
                                     user::ReadWord(data + at + 4)});
        ended = (flags & user::kLastEntry) != 0;
    }
    if (!ended) {
        SetLastError(ERROR_INVALID_DATA);  // cut short: no entry marks the end
        return nullptr;
    }
    HACCEL handle = reinterpret_cast<HACCEL>(user::State().nextHandle);
    user::State().nextHandle += 0x10;
    user::State().tables[handle] = std::move(accelerators);
    machine::NoteObjectCreated("accelerator table");
    return handle;
}

int WINAPI TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg) {
    auto table = user::State().tables.find(hAccTable);
    if (table == user::State().tables.end()) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (!user::FindWindowObject(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (lpMsg == nullptr) return 0;
    const std::vector<ACCEL> entries = table->second;  // the command may destroy the table
    for (const ACCEL& entry : entries) {
        if (!user::Matches(entry, *lpMsg)) continue;
        SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL hAccel) {
    if (user::State().tables.erase(hAccel) == 0) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    machine::NoteObjectReleased("accelerator table");
    return TRUE;
}
