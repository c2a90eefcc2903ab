// Device contexts: the screen's and a window's (GetDC / ReleaseDC), and memory contexts holding a
// bitmap (CreateCompatibleDC, SelectObject, DeleteDC).
#include "gdi/fonts.h"
#include "gdi/objects.h"
#include "machine/machine.h"
#include "user/window_objects.h"

namespace gdi {
namespace {

// The 1 x 1 monochrome bitmap a new memory context holds.
HGDIOBJ DefaultBitmap() {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = bitmap->height = 1;
    bitmap->bits.assign(2, 0);
    bitmap->stock = true;
    return AddObject(bitmap);
}

}  // namespace

HDC CreateWindowDc(HWND window, DcKind kind) {
    auto dc = std::make_shared<DeviceContext>();
    dc->kind = kind;
    dc->window = window;
    dc->brush = GetStockObject(WHITE_BRUSH);
    dc->pen = GetStockObject(BLACK_PEN);
    return static_cast<HDC>(AddObject(dc));
}

}  // namespace gdi

HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd != nullptr && !user::FindWindowObject(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    machine::NoteObjectCreated(hWnd ? "window dc" : "screen dc");
    return gdi::CreateWindowDc(hWnd, hWnd ? gdi::DcKind::Window : gdi::DcKind::Screen);
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hDC);
    if (!dc || (dc->kind != gdi::DcKind::Screen && dc->kind != gdi::DcKind::Window) || dc->window != hWnd) return 0;
    machine::NoteObjectReleased(dc->kind == gdi::DcKind::Window ? "window dc" : "screen dc");
    gdi::RemoveObject(hDC);
    return 1;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc != nullptr && !gdi::FindObjectAs<gdi::DeviceContext>(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto dc = std::make_shared<gdi::DeviceContext>();
    dc->kind = gdi::DcKind::Memory;
    dc->bitmap = dc->defaultBitmap = gdi::DefaultBitmap();
    dc->brush = GetStockObject(WHITE_BRUSH);
    dc->pen = GetStockObject(BLACK_PEN);
    machine::NoteObjectCreated("memory dc");
    return static_cast<HDC>(gdi::AddObject(dc));
}

BOOL WINAPI DeleteDC(HDC hdc) {
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hdc);
    if (!dc || dc->kind != gdi::DcKind::Memory) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A bitmap still selected is set free (it can be deleted once the context is gone).
    if (auto bitmap = gdi::FindObjectAs<gdi::Bitmap>(dc->bitmap)) bitmap->selectedInto = nullptr;
    gdi::RemoveObject(dc->defaultBitmap);
    gdi::RemoveObject(hdc);
    machine::NoteObjectReleased("memory dc");
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    auto dc = gdi::FindObjectAs<gdi::DeviceContext>(hdc);
    auto object = gdi::FindObject(h);
    if (!dc || !object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (auto bitmap = std::dynamic_pointer_cast<gdi::Bitmap>(object)) {
        if (dc->kind != gdi::DcKind::Memory) return nullptr;
        if (bitmap->selectedInto != nullptr && bitmap->selectedInto != hdc && gdi::FindObject(bitmap->selectedInto))
            return nullptr;  // already in another memory context
        HGDIOBJ previous = dc->bitmap;
        if (auto old = gdi::FindObjectAs<gdi::Bitmap>(previous)) old->selectedInto = nullptr;
        bitmap->selectedInto = hdc;
        dc->bitmap = h;
        return previous;
    }
    if (std::dynamic_pointer_cast<gdi::Brush>(object)) {
        HGDIOBJ previous = dc->brush;
        dc->brush = h;
        return previous;
    }
    if (std::dynamic_pointer_cast<gdi::Pen>(object)) {
        HGDIOBJ previous = dc->pen;
        dc->pen = h;
        return previous;
    }
    if (auto font = std::dynamic_pointer_cast<gdi::Font>(object)) return gdi::SelectFontInto(*dc, hdc, h, *font);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}
