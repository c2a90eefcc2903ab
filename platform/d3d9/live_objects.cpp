#include "live_objects.h"

#include "d3d9/control.h"

namespace d3d9 {

namespace {
unsigned& Live() {
    static unsigned count = 0;
    return count;
}
}  // namespace

void CountObjectCreated() { ++Live(); }
void CountObjectDestroyed() { --Live(); }

unsigned control::LiveObjectCount() { return Live(); }

}  // namespace d3d9
