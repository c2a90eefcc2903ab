// The machine's side of the devices: the script's device events reach every live device, and the run's
// report gets the device fields.
#include "device_events.h"

#include "d3d9/control.h"
#include "device_stats.h"
#include "draw_stats.h"
#include "machine/machine.h"

namespace d3d9 {

void ListenForDeviceEvents() {
    static bool listening = false;
    if (listening) return;
    listening = true;
    machine::SetDeviceEventListener([](machine::DeviceAction action) {
        if (action == machine::DeviceAction::Lose)
            LoseDevicesByScript();
        else if (action == machine::DeviceAction::LoseUntilRestored)
            control::LoseDevices(std::nullopt);
        else
            control::RestoreDevices();
    });
    machine::AddReportField("device", DeviceJson);
    machine::AddReportField("device_creations", [] { return std::to_string(control::DeviceCreations()); });
    machine::AddReportField("device_resets", [] { return std::to_string(control::DeviceResets()); });
    machine::AddReportField("display_mode_changes", [] { return std::to_string(control::DisplayModeChanges()); });
    machine::AddReportField("draw_calls", DrawCallsJson);
    machine::AddReportField("direct3d_objects", [] { return std::to_string(control::LiveObjectCount()); });
}

}  // namespace d3d9
