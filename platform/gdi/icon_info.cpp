// GetIconInfo: new mask and colour bitmaps made from a cursor or icon; the caller deletes them.
#include "gdi/objects.h"
#include "machine/machine.h"
#include "user/cursors.h"

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    auto image = user::FindCursor(hIcon);
    if (!image || piconinfo == nullptr) {
        SetLastError(image ? ERROR_INVALID_PARAMETER : ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    auto mask = std::make_shared<gdi::Bitmap>();
    mask->width = image->width;
    mask->height = image->MaskHeight();
    mask->bitsPerPixel = 1;
    mask->bits = image->mask;
    HBITMAP color = nullptr;
    if (!image->monochrome) {
        auto bitmap = std::make_shared<gdi::Bitmap>();
        bitmap->width = image->width;
        bitmap->height = image->height;
        bitmap->bitsPerPixel = 32;
        bitmap->pixels = image->color;
        color = static_cast<HBITMAP>(gdi::AddObject(bitmap));
        machine::NoteObjectCreated("bitmap");
    }
    piconinfo->fIcon = image->isIcon ? TRUE : FALSE;
    piconinfo->xHotspot = static_cast<DWORD>(image->hotspotX);
    piconinfo->yHotspot = static_cast<DWORD>(image->hotspotY);
    piconinfo->hbmMask = static_cast<HBITMAP>(gdi::AddObject(mask));
    piconinfo->hbmColor = color;
    machine::NoteObjectCreated("bitmap");
    return TRUE;
}
