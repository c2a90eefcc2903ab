// Storms of device changes as one input script: window resizes of varied sizes, Alt+Enter switches,
// device losses and restores and settings dialogs that choose other depth buffers, adapter formats and
// full-screen modes, interleaved; and the creations, resets and display-mode changes they cause.
#pragma once

#include <string>

struct StormCounts {
    int resizes = 0;
    int switches = 0;  // Alt+Enter presses; even, so the run ends in the window
    int losses = 0;    // each a loss and a restore
    int dialogs = 0;   // a multiple of four: two in the window, one into full screen, one back
};

struct StormScript {
    std::string text;
    int frames = 0;  // the run's length: the last event's frame and a few more
    int deviceCreations = 0;
    int deviceResets = 0;
    int displayModeChanges = 0;
};

StormScript MakeStorm(const StormCounts& counts);
