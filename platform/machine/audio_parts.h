// What the machine's audio parts tell each other and the rest of the machine.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "machine/audio.h"

namespace machine::detail {

// The sound card (SDL2's audio): pulls frames through the function on its own thread.
class SoundCard {
public:
    virtual ~SoundCard() = default;
    virtual void Reopen(const AudioFormat& format) = 0;
};
// Null when there is no card to open.
std::unique_ptr<SoundCard> OpenSoundCard(const AudioFormat& format, AudioSource pull);

bool WriteWaveFile(const std::string& path, const AudioFormat& format, const std::vector<int16_t>& samples,
                   std::string& error);

// A frame was presented: outputs driven by the fixed clock mix their 1/60 s.
void AdvanceAudioForFrame();
void ResetAudio();
std::string AudioReportJson();
// The run ends: the wav sink writes its file; false when it could not (said on standard error).
bool FinishAudio();

}  // namespace machine::detail
