// Icons: the program's RT_GROUP_ICON / RT_ICON resources, and the system's application icon.
#include "kernel/resources.h"
#include "user/cursors.h"
#include "user/reset.h"

namespace user {

bool DestroyCursorHandle(HCURSOR handle);

namespace {

constexpr size_t kGroupHeaderBytes = 6, kGroupEntryBytes = 14;

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void ResetIcons();

HICON& ApplicationIcon() {
    static HICON icon = nullptr;
    static bool registered = (detail::RegisterUserReset(&ResetIcons), true);
    (void)registered;
    return icon;
}

void ResetIcons() { ApplicationIcon() = nullptr; }

// The system's application icon: 32 x 32, a white window with a blue caption bar.
std::shared_ptr<CursorImage> ApplicationImage() {
    auto image = std::make_shared<CursorImage>();
    image->isIcon = true;
    image->width = image->height = 32;
    image->hotspotX = image->hotspotY = 16;
    image->shared = true;
    image->mask.assign(static_cast<size_t>(image->MaskRowBytes()) * 32, 0);
    image->color.resize(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool edge = x < 2 || x > 29 || y < 3 || y > 28;
            image->color[y * 32 + x] = edge ? 0xFF000000u : (y < 9 ? 0xFF2050C0u : 0xFFFFFFFFu);
        }
    return image;
}

// The group entry the platform would choose: 32 x 32 first, then the most colour bits.
int ChooseEntry(const uint8_t* group, uint16_t count) {
    int best = -1, bestScore = -1;
    for (int i = 0; i < count; ++i) {
        const uint8_t* e = group + kGroupHeaderBytes + i * kGroupEntryBytes;
        const int width = e[0] == 0 ? 256 : e[0], height = e[1] == 0 ? 256 : e[1];
        const int score = (width == 32 && height == 32 ? 1000 : 0) + Word(e + 6);
        if (score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace
}  // namespace user

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (hInstance == nullptr) {
        if (lpIconName != IDI_APPLICATION) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        HICON& icon = user::ApplicationIcon();
        if (!user::FindCursor(icon)) icon = user::AddCursor(user::ApplicationImage());
        return icon;
    }
    const RESOURCE_TABLE_ENTRY* group = kernel::FindProgramResource(hInstance, RT_GROUP_ICON, lpIconName);
    if (group == nullptr) return nullptr;  // the kernel has set the reason
    const auto* data = static_cast<const uint8_t*>(group->data);
    if (data == nullptr || group->size < user::kGroupHeaderBytes || user::Word(data + 2) != 1) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const uint16_t count = user::Word(data + 4);
    if (count == 0 || user::kGroupHeaderBytes + count * user::kGroupEntryBytes > group->size) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const int chosen = user::ChooseEntry(data, count);
    const uint16_t id = user::Word(data + user::kGroupHeaderBytes + chosen * user::kGroupEntryBytes + 12);
    const RESOURCE_TABLE_ENTRY* icon = kernel::FindProgramResource(hInstance, RT_ICON, MAKEINTRESOURCEA(id));
    if (icon == nullptr) return nullptr;
    auto image = user::ReadIconImage(static_cast<const uint8_t*>(icon->data), icon->size);
    if (!image) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    image->isIcon = true;
    image->hotspotX = image->width / 2;
    image->hotspotY = image->height / 2;
    return user::AddCursor(image);
}

BOOL WINAPI DestroyIcon(HICON hIcon) { return user::DestroyCursorHandle(hIcon) ? TRUE : FALSE; }
