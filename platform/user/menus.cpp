// Menus: loaded from templates, attached to windows as their menu bar, destroyed with their popups.
#include <map>

#include "kernel/resources.h"
#include "machine/machine.h"
#include "user/menus.h"
#include "user/positions.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user {
namespace {

struct MenuTable {
    std::map<HMENU, std::shared_ptr<Menu>> menus;
    uintptr_t nextHandle = 0x7B0000010000;
};

void ResetMenus();

MenuTable& Table() {
    static MenuTable table;
    static bool registered = (detail::RegisterUserReset(&ResetMenus), true);
    (void)registered;
    return table;
}

void ResetMenus() {
    uintptr_t next = Table().nextHandle;
    Table() = MenuTable{};
    Table().nextHandle = next;
}

void DestroyTree(HMENU handle, int depth) {
    auto menu = FindMenu(handle);
    if (!menu || depth > 64) return;
    Table().menus.erase(handle);
    for (const MenuItem& item : menu->items)
        if (item.popup) DestroyTree(item.popup, depth + 1);
}

}  // namespace

std::shared_ptr<Menu> FindMenu(HMENU handle) {
    if (handle == nullptr) return nullptr;
    auto found = Table().menus.find(handle);
    return found == Table().menus.end() ? nullptr : found->second;
}

HMENU AddMenu(std::shared_ptr<Menu> menu) {
    HMENU handle = reinterpret_cast<HMENU>(Table().nextHandle);
    Table().nextHandle += 0x10;
    Table().menus[handle] = std::move(menu);
    return handle;
}

void ForgetMenuTree(HMENU handle) { DestroyTree(handle, 0); }

}  // namespace user

HMENU WINAPI LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName) {
    const RESOURCE_TABLE_ENTRY* entry = kernel::FindProgramResource(hInstance, RT_MENU, lpMenuName);
    if (entry == nullptr) return nullptr;  // the kernel has set the reason
    HMENU menu = user::MenuFromTemplate(static_cast<const uint8_t*>(entry->data), entry->size);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    machine::NoteObjectCreated("menu");
    return menu;
}

BOOL WINAPI IsMenu(HMENU hMenu) { return user::FindMenu(hMenu) ? TRUE : FALSE; }

BOOL WINAPI DestroyMenu(HMENU hMenu) {
    if (!user::FindMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    user::DestroyTree(hMenu, 0);
    machine::NoteObjectReleased("menu");
    return TRUE;
}

HMENU WINAPI GetMenu(HWND hWnd) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (window->IsChild() || !IsMenu(window->menu)) return nullptr;
    return window->menu;
}

BOOL WINAPI SetMenu(HWND hWnd, HMENU hMenu) {
    auto window = user::FindWindowObject(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->IsChild()) {
        SetLastError(ERROR_CHILD_WINDOW_MENU);
        return FALSE;
    }
    if (hMenu != nullptr && !IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    const bool hadBar = window->HasMenuBar();
    window->menu = hMenu;
    if (hadBar != window->HasMenuBar()) user::RecomputeFrame(hWnd);
    return TRUE;
}
