// Test controls of the DirectSound area. Mixing is stepped through the machine's virtual audio sink
// (machine::control::StepAudio); failures through the machine's failure injection, where a success
// code (DS_NO_VIRTUALIZATION on "IDirectSound8::CreateSoundBuffer", say) lets the call do its work
// and answers that code.
#pragma once

#include "dsound.h"

namespace dsound::control {

// The platform takes the buffer's memory away: it and every duplicate sharing it are lost.
bool LoseBuffer(IDirectSoundBuffer* buffer);
// The sample memory behind a buffer (the same for a buffer and its duplicates); null for others.
const void* SampleMemoryOf(IDirectSoundBuffer* buffer);

}  // namespace dsound::control
