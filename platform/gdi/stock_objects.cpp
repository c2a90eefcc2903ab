// Stock objects and DeleteObject.
#include <array>

#include "gdi/fonts.h"
#include "gdi/objects.h"
#include "machine/control.h"
#include "machine/machine.h"

namespace gdi {
namespace {

constexpr int kStockCount = NULL_PEN + 1;

std::array<HGDIOBJ, kStockCount>& Stock() {
    static std::array<HGDIOBJ, kStockCount> stock{};
    static bool registered = (machine::control::AtReset([] { Stock().fill(nullptr); }), true);
    (void)registered;
    return stock;
}

std::shared_ptr<GdiObject> MakeStock(int i) {
    static const COLORREF kBrushColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                            RGB(64, 64, 64), RGB(0, 0, 0), 0};
    std::shared_ptr<GdiObject> object;
    if (i <= NULL_BRUSH) {
        auto brush = std::make_shared<Brush>();
        brush->color = kBrushColors[i];
        brush->hollow = i == NULL_BRUSH;
        object = brush;
    } else {
        auto pen = std::make_shared<Pen>();
        pen->color = i == WHITE_PEN ? RGB(255, 255, 255) : 0;
        pen->hollow = i == NULL_PEN;
        object = pen;
    }
    object->stock = true;
    return object;
}

}  // namespace
}  // namespace gdi

HGDIOBJ WINAPI GetStockObject(int i) {
    if (i < 0 || i >= gdi::kStockCount) return nullptr;
    HGDIOBJ& slot = gdi::Stock()[static_cast<size_t>(i)];
    if (!gdi::FindObject(slot)) slot = gdi::AddObject(gdi::MakeStock(i));
    return slot;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    auto object = gdi::FindObject(ho);
    if (!object || std::dynamic_pointer_cast<gdi::DeviceContext>(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->stock) return TRUE;
    if (auto bitmap = std::dynamic_pointer_cast<gdi::Bitmap>(object)) {
        if (gdi::FindObject(bitmap->selectedInto)) return FALSE;  // still selected into a memory context
        machine::NoteObjectReleased("bitmap");
    }
    if (auto font = std::dynamic_pointer_cast<gdi::Font>(object)) {
        if (gdi::FontInUse(ho, *font)) return FALSE;  // still selected into a device context
        machine::NoteObjectReleased("font");
    }
    gdi::RemoveObject(ho);
    return TRUE;
}
