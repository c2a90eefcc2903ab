// Accelerator table 113: Esc and Alt+X close, F2 opens the settings dialog, Alt+Enter switches
// between windowed and full screen.
#include "resource_builders.h"
#include "resource_constants.h"
#include "resource_writer.h"

namespace {

struct Accelerator {
    uint16_t flags;
    uint16_t key;
    uint16_t command;
};

const Accelerator kAccelerators[] = {
    {FVIRTKEY | FNOINVERT, VK_ESCAPE, 40006},
    {FVIRTKEY | FNOINVERT, VK_F2, 40002},
    {FVIRTKEY | FNOINVERT | FALT, VK_RETURN, 40003},
    {FVIRTKEY | FNOINVERT | FALT, 'X', 40006},
};

std::vector<uint8_t> Build() {
    ResourceWriter out;
    const size_t count = sizeof(kAccelerators) / sizeof(kAccelerators[0]);
    for (size_t i = 0; i < count; ++i) {
        const Accelerator& entry = kAccelerators[i];
        out.Word(static_cast<uint16_t>(entry.flags | (i + 1 == count ? kLastAcceleratorEntry : 0)));
        out.Word(entry.key);
        out.Word(entry.command);
        out.Word(0);
    }
    return out.Take();
}

}  // namespace

const std::vector<uint8_t>& AcceleratorTable() {
    static const std::vector<uint8_t> table = Build();
    return table;
}
