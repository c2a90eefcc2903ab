// For tests: the registry's hives back to their start state (empty). Open key handles become stale.
#pragma once

namespace kernel::registry_control {
void ClearHives();
}  // namespace kernel::registry_control
