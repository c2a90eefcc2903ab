// The sound module: a sound manager around the DirectSound 8 object and sounds held in several
// duplicated buffers.
#pragma once

#include "windows.h"

// The sound manager: creates the DirectSound object and the module's sounds.
class CSoundSystem {
public:
    CSoundSystem();
    ~CSoundSystem();
};

// One sound held in several buffers, so that it can be heard several times at once.
class CSoundSample {
public:
    CSoundSample();
    virtual ~CSoundSample();
};
