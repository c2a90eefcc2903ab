// The real audio output: an SDL2 audio device playing 16-bit samples at the output's rate and
// channel count (SDL converts to what the card takes). Its callback thread drives the mix. SDL's ALSA
// backend goes through alsa-lib, whose errors (a machine without a sound card has eight lines of
// them for each try) would go to standard error: the machine says itself what became of the sound.
#include <SDL.h>
#include <alsa/asoundlib.h>

#include <cstdio>
#include <mutex>

#include "audio_parts.h"

namespace machine::detail {
namespace {

class SdlSoundCard final : public SoundCard {
public:
    explicit SdlSoundCard(AudioSource pull) : pull_(std::move(pull)) {}
    ~SdlSoundCard() override {
        Close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Open(const AudioFormat& format) {
        SDL_AudioSpec want{}, have{};
        want.freq = static_cast<int>(format.rate);
        want.format = AUDIO_S16SYS;
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = 512;  // about 23 ms at 22,050 Hz
        want.callback = &SdlSoundCard::Callback;
        want.userdata = this;
        format_ = format;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0) return false;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void Reopen(const AudioFormat& format) override {
        Close();
        if (!Open(format)) std::fprintf(stderr, "[machine] the sound card cannot play this format: %s\n", SDL_GetError());
    }

private:
    void Close() {
        if (device_ != 0) SDL_CloseAudioDevice(device_);
        device_ = 0;
    }

    static void Callback(void* self, Uint8* stream, int length) {
        auto* card = static_cast<SdlSoundCard*>(self);
        const uint32_t frames = static_cast<uint32_t>(length) / (2u * card->format_.channels);
        card->pull_(reinterpret_cast<int16_t*>(stream), frames, card->format_);
    }

    AudioSource pull_;
    AudioFormat format_;
    SDL_AudioDeviceID device_ = 0;
};

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<SoundCard> OpenSoundCard(const AudioFormat& format, AudioSource pull) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(&IgnoreAlsaError); });
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    auto card = std::make_unique<SdlSoundCard>(std::move(pull));
    if (!card->Open(format)) return nullptr;  // the destructor quits the subsystem again
    return card;
}

}  // namespace machine::detail
