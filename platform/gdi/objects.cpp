// The GDI handle table.
#include <map>

#include "desktop_painter.h"
#include "gdi/objects.h"
#include "machine/control.h"

namespace gdi {
namespace {

struct ObjectTable {
    std::map<HGDIOBJ, std::shared_ptr<GdiObject>> objects;
    uintptr_t nextHandle = 0x7E0000010000;
};

ObjectTable& Table() {
    static ObjectTable table;
    static bool registered = [] {
        machine::control::AtReset([] {
            uintptr_t next = Table().nextHandle;
            Table() = ObjectTable{};
            Table().nextHandle = next;
        });
        // GDI is in use: the window manager can draw what the layer shows on a real display.
        InstallDesktopPainter();
        return true;
    }();
    (void)registered;
    return table;
}

}  // namespace

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object) {
    HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(Table().nextHandle);
    Table().nextHandle += 0x10;
    Table().objects[handle] = std::move(object);
    return handle;
}

std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle) {
    if (handle == nullptr) return nullptr;
    auto found = Table().objects.find(handle);
    return found == Table().objects.end() ? nullptr : found->second;
}

bool RemoveObject(HGDIOBJ handle) { return Table().objects.erase(handle) != 0; }

}  // namespace gdi
