#include "storm_script.h"

#include <algorithm>

namespace {

constexpr int kGap = 3;  // frames between two events: every change is drawn in before the next

// The scene keys, in turn: terrain, meshes, motion blur.
const char* const kSceneKeys[] = {"F11", "F12", "F9"};

struct Writer {
    std::string text;
    int frame = 5;
    int scene = 0;
    void Line(const std::string& event) { text += std::to_string(frame) + " " + event + "\n"; }
    // The frame after a step shows the next scene, so every scene is drawn between the steps.
    void Next() {
        frame += 1;
        Line(std::string("key ") + kSceneKeys[scene++ % 3] + " press");
        frame += kGap - 1;
    }
};

// Whether the event of a kind that happens `count` times in `rounds` rounds falls in round i: spread
// evenly, so every stretch of the storm holds the same mix of events.
bool Falls(int i, int count, int rounds) {
    return (static_cast<long>(i + 1) * count) / rounds != (static_cast<long>(i) * count) / rounds;
}

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
    w.text = "# A storm of device changes, interleaved evenly, each scene shown between them.\n";
    const int pairs = counts.switches / 2;
    const int rounds = std::max({counts.resizes, pairs, counts.losses, counts.dialogs, 1});
    int resizes = 0, dialogs = 0, deferred = 0;
    bool fullScreen = false;
    auto resize = [&] {
        // Sizes that differ from one resize to the next, between 200 x 150 and 1000 x 750.
        const int n = resizes++;
        w.Line("window resize " + std::to_string(200 + (n * 137) % 800) + " " + std::to_string(150 + (n * 71) % 600));
        w.Next();
    };
    for (int i = 0; i < rounds; ++i) {
        // A full-screen window is not resized: the resizes due then wait until the window is back,
        // and are made one more a round.
        if (Falls(i, counts.resizes, rounds)) ++deferred;
        for (int n = 0; !fullScreen && deferred > 0 && n < 2; ++n, --deferred) resize();
        if (Falls(i, pairs, rounds)) {
            for (int twice = 0; twice < 2; ++twice) {
                w.Line("key MENU down");
                w.Line("key RETURN press");
                w.Line("key MENU up");
                w.Next();
            }
        }
        if (Falls(i, counts.losses, rounds)) {
            w.Line("device lose");
            w.Next();
            w.Line("device restore");
            w.Next();
        }
        if (Falls(i, counts.dialogs, rounds)) {
            if (dialogs % 4 == 2) fullScreen = true;
            if (dialogs % 4 == 3) fullScreen = false;
            Dialog(w, dialogs++);
            w.Next();
        }
    }
    for (; deferred > 0; --deferred) resize();
    StormScript storm;
    storm.text = w.text;
    storm.frames = w.frame + 10;
    // A resize and each switch reset the device; so does a restore after a loss. Every dialog here
    // changes a setting, which makes the device again; into and out of full screen change the mode,
    // and out of it the window then takes back its size, which resets the new device once more.
    storm.deviceCreations = 1 + counts.dialogs;
    storm.deviceResets = counts.resizes + 2 * pairs + counts.losses + counts.dialogs / 4;
    storm.displayModeChanges = 2 * pairs + 2 * (counts.dialogs / 4);
    return storm;
}
