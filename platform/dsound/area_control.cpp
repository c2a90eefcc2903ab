#include "dsound/control.h"
#include "sound_buffer.h"

namespace dsound::control {

bool LoseBuffer(IDirectSoundBuffer* buffer) {
    SoundBuffer* b = buffer ? AsSoundBuffer(buffer) : nullptr;
    if (b == nullptr) return false;
    std::lock_guard lock(b->Device().mutex);
    Voice& v = b->VoiceState();
    ++v.memory->lossCount;
    // Every buffer on that memory stops.
    for (Voice* other : b->Device().voices)
        if (other->memory == v.memory) other->playing = false;
    return true;
}

const void* SampleMemoryOf(IDirectSoundBuffer* buffer) {
    SoundBuffer* b = buffer ? AsSoundBuffer(buffer) : nullptr;
    return b ? b->VoiceState().memory.get() : nullptr;
}

}  // namespace dsound::control
