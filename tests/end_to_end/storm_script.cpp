#include "storm_script.h"

#include <algorithm>

namespace {

constexpr int kGap = 3;  // frames between two events: every change is drawn in before the next

struct Writer {
    std::string text;
    int frame = 5;
    void Line(const std::string& event) { text += std::to_string(frame) + " " + event + "\n"; }
    void Next() { frame += kGap; }
};

// The settings dialog's controls.
constexpr int kAdapterFormat = 1003, kResolution = 1004, kDepthStencil = 1008, kWindowed = 1016,
              kFullScreen = 1018;

void Dialog(Writer& w, int index) {
    static const char* const kResolutions[] = {"640 by 480", "800 by 600", "1024 by 768"};
    w.Line("key F2 press");
    switch (index % 4) {
    case 0: w.Line("dialog select " + std::to_string(kDepthStencil) + " D3DFMT_D24S8"); break;
    case 1: w.Line("dialog select " + std::to_string(kDepthStencil) + " D3DFMT_D16"); break;
    case 2:
        w.Line("dialog click " + std::to_string(kFullScreen));
        w.Line("dialog select " + std::to_string(kAdapterFormat) +
               ((index / 4) % 2 ? " D3DFMT_R5G6B5" : " D3DFMT_X8R8G8B8"));
        w.Line("dialog select " + std::to_string(kResolution) + " " + kResolutions[(index / 4) % 3]);
        break;
    case 3: w.Line("dialog click " + std::to_string(kWindowed)); break;
    }
    w.Line("dialog key enter");
}

}  // namespace

StormScript MakeStorm(const StormCounts& counts) {
    Writer w;
    w.text = "# A storm of device changes, interleaved.\n";
    const int rounds = std::max({counts.resizes, counts.switches / 2, counts.losses, counts.dialogs});
    for (int i = 0; i < rounds; ++i) {
        if (i < counts.resizes) {
            // Sizes that differ from one resize to the next, between 200 x 150 and 1000 x 750.
            w.Line("window resize " + std::to_string(200 + (i * 137) % 800) + " " + std::to_string(150 + (i * 71) % 600));
            w.Next();
        }
        if (i < counts.switches / 2) {
            for (int twice = 0; twice < 2; ++twice) {
                w.Line("key MENU down");
                w.Line("key RETURN press");
                w.Line("key MENU up");
                w.Next();
            }
        }
        if (i < counts.losses) {
            w.Line("device lose");
            w.Next();
            w.Line("device restore");
            w.Next();
        }
        if (i < counts.dialogs) {
            Dialog(w, i);
            w.Next();
        }
    }
    StormScript storm;
    storm.text = w.text;
    storm.frames = w.frame + 10;
    // A resize and each switch reset the device; so does a restore after a loss. Every dialog here
    // changes a setting, which makes the device again; into and out of full screen change the mode.
    const int pairs = counts.switches / 2;
    storm.deviceCreations = 1 + counts.dialogs;
    storm.deviceResets = counts.resizes + 2 * pairs + counts.losses;
    storm.displayModeChanges = 2 * pairs + 2 * (counts.dialogs / 4);
    return storm;
}
