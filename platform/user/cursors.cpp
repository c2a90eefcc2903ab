// Cursors: the handle table, the cursor files, the system arrow, and the cursor the system shows
// (SetCursor, ShowCursor's count, the position and the clip rectangle, kept by the machine).
#include <filesystem>
#include <fstream>
#include <map>

#include "kernel/paths.h"
#include "machine/machine.h"
#include "user/cursors.h"
#include "user/reset.h"

namespace user {
namespace {

constexpr uintmax_t kMaxCursorFileBytes = 16 * 1024 * 1024;

struct CursorTable {
    std::map<HCURSOR, std::shared_ptr<CursorImage>> images;
    uintptr_t nextHandle = 0x7D0000010000;
    HCURSOR current = nullptr;
    HCURSOR arrow = nullptr;
    int showCount = 0;
};

void ResetCursors();

CursorTable& Table() {
    static CursorTable table;
    static bool registered = (detail::RegisterUserReset(&ResetCursors), true);
    (void)registered;
    return table;
}

void ResetCursors() {
    uintptr_t next = Table().nextHandle;
    Table() = CursorTable{};
    Table().nextHandle = next;
}

// The system arrow: 32 x 32, monochrome, its tip at the hot spot (0, 0).
std::shared_ptr<CursorImage> ArrowImage() {
    auto image = std::make_shared<CursorImage>();
    image->width = image->height = 32;
    image->monochrome = true;
    image->shared = true;
    const int rowBytes = image->MaskRowBytes();
    image->mask.assign(static_cast<size_t>(rowBytes) * 64, 0xFF);  // AND all set: transparent
    auto clearAnd = [&](int x, int y) { image->mask[y * rowBytes + x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8))); };
    auto setXor = [&](int x, int y) { image->mask[(32 + y) * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8)); };
    for (int y = 0; y < 32; ++y) std::fill_n(&image->mask[(32 + y) * rowBytes], rowBytes, 0);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x <= y && x < 12; ++x) {
            clearAnd(x, y);                                  // black outline ...
            if (x > 0 && x < y && y < 16 && x < 11) setXor(x, y);  // ... white inside
        }
    }
    return image;
}

// The cursor the system shows, on a real display's pointer: hidden while the show count is below 0 or
// no cursor is set; the system arrow as the display's own; any other image as it is.
void ShowOnPointer() {
    if (!machine::HasRealDisplay()) return;
    const CursorTable& t = Table();
    auto found = t.images.find(t.current);
    if (t.showCount < 0 || found == t.images.end()) {
        machine::SetPointerImage(false, nullptr, 0, 0);
        return;
    }
    const CursorImage& image = *found->second;
    if (t.current == t.arrow) {
        machine::SetPointerImage(true, nullptr, 0, 0);
        return;
    }
    machine::Frame frame{uint32_t(image.width), uint32_t(image.height), {}};
    frame.pixels.resize(size_t(image.width) * size_t(image.height));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            uint32_t& p = frame.pixels[size_t(y) * size_t(image.width) + size_t(x)];
            const bool andBit = image.MaskBit(x, y);
            if (image.monochrome) {
                const bool xorBit = image.MaskBit(x, y + image.height);
                p = andBit ? (xorBit ? 0xFF000000u : 0u) : (xorBit ? 0xFFFFFFFFu : 0xFF000000u);
            } else {
                const uint32_t c = image.color[size_t(y) * size_t(image.width) + size_t(x)];
                p = (c >> 24) != 0 ? c : andBit ? 0u : (c | 0xFF000000u);
            }
        }
    machine::SetPointerImage(true, &frame, image.hotspotX, image.hotspotY);
}

}  // namespace

std::shared_ptr<const CursorImage> FindCursor(HCURSOR handle) {
    if (handle == nullptr) return nullptr;
    auto found = Table().images.find(handle);
    return found == Table().images.end() ? nullptr : found->second;
}

HCURSOR AddCursor(std::shared_ptr<CursorImage> image) {
    HCURSOR handle = reinterpret_cast<HCURSOR>(Table().nextHandle);
    Table().nextHandle += 0x10;
    Table().images[handle] = std::move(image);
    return handle;
}

bool DestroyCursorHandle(HCURSOR handle) {
    auto found = Table().images.find(handle);
    if (found == Table().images.end()) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return false;
    }
    if (found->second->shared) return true;  // the system's own: never destroyed
    Table().images.erase(found);
    if (Table().current == handle) Table().current = nullptr;
    return true;
}

}  // namespace user

HCURSOR WINAPI LoadCursorFromFileA(LPCSTR lpFileName) {
    if (lpFileName == nullptr || *lpFileName == '\0') {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    const kernel::ResolvedPath resolved = kernel::ResolvePath(lpFileName);
    std::error_code ec;
    if (!resolved.Exists() || !std::filesystem::is_regular_file(resolved.path, ec)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    const uintmax_t size = std::filesystem::file_size(resolved.path, ec);
    if (ec || size > user::kMaxCursorFileBytes) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    std::ifstream in(resolved.path, std::ios::binary);
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto image = user::ReadCursorFile(bytes.data(), bytes.size());
    if (!image) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return user::AddCursor(image);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (hInstance != nullptr || lpCursorName != IDC_ARROW) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);  // the program carries no cursor resources
        return nullptr;
    }
    user::CursorTable& t = user::Table();
    if (!user::FindCursor(t.arrow)) t.arrow = user::AddCursor(user::ArrowImage());
    return t.arrow;
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) { return user::DestroyCursorHandle(hCursor) ? TRUE : FALSE; }

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
    if (hCursor != nullptr && !user::FindCursor(hCursor)) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return nullptr;
    }
    HCURSOR previous = user::Table().current;
    user::Table().current = hCursor;
    if (previous != hCursor) user::ShowOnPointer();
    return previous;
}

HCURSOR WINAPI GetCursor(void) { return user::Table().current; }

int WINAPI ShowCursor(BOOL bShow) {
    const int count = bShow ? ++user::Table().showCount : --user::Table().showCount;
    if (count == 0 || count == -1) user::ShowOnPointer();  // it crossed between shown and hidden
    return count;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (lpPoint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int32_t x, y;
    machine::CursorScreenPosition(x, y);
    *lpPoint = {x, y};
    return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
    machine::SetCursorScreenPosition(X, Y);
    int32_t x, y;
    machine::CursorScreenPosition(x, y);  // kept inside the confinement
    machine::WarpPointer(x, y);
    return TRUE;
}

BOOL WINAPI ClipCursor(const RECT* lpRect) {
    if (lpRect == nullptr) {
        machine::SetCursorClip(nullptr);
        return TRUE;
    }
    const machine::ScreenRect rect{lpRect->left, lpRect->top, lpRect->right, lpRect->bottom};
    machine::SetCursorClip(&rect);
    return TRUE;
}

BOOL WINAPI GetClipCursor(LPRECT lpRect) {
    if (lpRect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const machine::ScreenRect r = machine::CursorClip();
    *lpRect = {r.left, r.top, r.right, r.bottom};
    return TRUE;
}
