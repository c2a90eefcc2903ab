// A count of the area's objects not yet destroyed, so a test can see that everything was released.
#pragma once

namespace d3d9 {
void CountObjectCreated();
void CountObjectDestroyed();
}  // namespace d3d9
