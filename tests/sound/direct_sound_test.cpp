#include <cmath>
#include <cstring>

#include "sound_fixture.h"

namespace {

class DirectSoundBuffers : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
        ASSERT_EQ(ds->SetCooperativeLevel(Window(), DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override {
        if (ds) ds->Release();
        SoundTest::TearDown();
    }
    static WAVEFORMATEX Format(WORD channels, DWORD rate, WORD bits) {
        const WORD align = static_cast<WORD>(channels * bits / 8);
        return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
    }
    IDirectSoundBuffer* Make(DWORD bytes, WAVEFORMATEX format, DWORD flags = 0, HRESULT* answer = nullptr) {
        DSBUFFERDESC desc{sizeof desc, flags, bytes, 0, &format, GUID_NULL};
        IDirectSoundBuffer* b = nullptr;
        HRESULT hr = ds->CreateSoundBuffer(&desc, &b, nullptr);
        if (answer) *answer = hr;
        return b;
    }
    IDirectSound8* ds = nullptr;
};

TEST_F(DirectSoundBuffers, RefusesDescriptionsItCannotPlay) {
    WAVEFORMATEX good = Format(1, 11025, 16);
    WAVEFORMATEX noChannels = good;
    noChannels.nChannels = 0;
    WAVEFORMATEX badAlign = good;
    badAlign.nBlockAlign = 3;
    struct Case {
        const char* name;
        DWORD bytes;
        WAVEFORMATEX* format;
        HRESULT answer;
    };
    const Case cases[] = {{"null format", 100, nullptr, DSERR_INVALIDPARAM},
                          {"no bytes", 0, &good, DSERR_INVALIDPARAM},
                          {"too many bytes", DSBSIZE_MAX + 1u, &good, DSERR_INVALIDPARAM},
                          {"no channels", 100, &noChannels, DSERR_INVALIDPARAM},
                          {"block align off", 100, &badAlign, DSERR_INVALIDPARAM}};
    for (const Case& c : cases) {
        DSBUFFERDESC desc{sizeof desc, 0, c.bytes, 0, c.format, GUID_NULL};
        IDirectSoundBuffer* b = reinterpret_cast<IDirectSoundBuffer*>(1);
        EXPECT_EQ(ds->CreateSoundBuffer(&desc, &b, nullptr), c.answer) << c.name;
        EXPECT_EQ(b, nullptr) << c.name;
    }
    IDirectSoundBuffer* b = Make(400, good, DSBCAPS_CTRLPOSITIONNOTIFY);
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(b->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)), S_OK);
    DSBPOSITIONNOTIFY beyond{400, reinterpret_cast<HANDLE>(1)};
    EXPECT_EQ(notify->SetNotificationPositions(1, &beyond), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    notify->Release();
    b->Release();
    IDirectSoundBuffer* v = Make(400, good, DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY);
    EXPECT_EQ(v->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(v->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(v->SetFrequency(0xFFFFFF00u), DSERR_INVALIDPARAM);
    v->Release();
}

TEST_F(DirectSoundBuffers, LocksComeInTwoPartsAtTheWrapAndDuplicatesShareMemory) {
    IDirectSoundBuffer* b = Make(400, Format(1, 11025, 16));
    void *p1, *p2;
    DWORD n1, n2;
    ASSERT_EQ(b->Lock(0, 400, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 400u);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    for (DWORD i = 0; i < n1; ++i) EXPECT_EQ(static_cast<BYTE*>(p1)[i], 0) << "new buffers hold silence";
    std::memset(p1, 0x11, 400);
    EXPECT_EQ(b->Unlock(p1, n1, nullptr, 0), DS_OK);
    EXPECT_EQ(b->Unlock(p1, n1, nullptr, 0), DSERR_INVALIDPARAM) << "not locked any more";
    ASSERT_EQ(b->Lock(300, 200, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(n2, 100u);
    EXPECT_EQ(static_cast<BYTE*>(p1) - static_cast<BYTE*>(p2), 300);
    EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
    EXPECT_EQ(b->Lock(300, 200, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(400, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    IDirectSoundBuffer* dup = nullptr;
    ASSERT_EQ(ds->DuplicateSoundBuffer(b, &dup), DS_OK);
    ASSERT_EQ(dup->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(static_cast<BYTE*>(p1)[0], 0x11);
    dup->Unlock(p1, n1, nullptr, 0);
    b->Release();
    ASSERT_EQ(dup->Lock(0, 4, &p1, &n1, nullptr, nullptr, 0), DS_OK) << "the memory lives with the duplicate";
    dup->Unlock(p1, n1, nullptr, 0);
    dup->Release();
}

TEST_F(DirectSoundBuffers, ANonLoopingBufferStopsAtItsEndWithItsCursorBackAtZero) {
    IDirectSoundBuffer* b = Make(22050 * 4 / 10, Format(2, 22050, 16));  // 0.1 s at the primary rate
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    machine::control::StepAudio(1000);
    DWORD play = 0, status = 0;
    b->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 4000u);
    b->GetStatus(&status);
    EXPECT_EQ(status, DWORD{DSBSTATUS_PLAYING});
    machine::control::StepAudio(2000);
    b->GetStatus(&status);
    b->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(play, 0u);
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    machine::control::StepAudio(2205 + 100);
    b->GetStatus(&status);
    b->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(status, DWORD{DSBSTATUS_PLAYING | DSBSTATUS_LOOPING});
    EXPECT_EQ(play, 400u) << "a looping buffer wraps";
    b->Release();
}

// Two frames at 100,000 Hz: each frame mixed at 22,050 Hz steps over the whole buffer and more, and
// the voice still reads only its own two samples.
TEST_F(DirectSoundBuffers, ALoopingBufferShorterThanOneStepWrapsWithinItsData) {
    IDirectSoundBuffer* b = Make(4, Format(1, 100000, 16));
    void* p;
    DWORD n;
    ASSERT_EQ(b->Lock(0, 4, &p, &n, nullptr, nullptr, 0), DS_OK);
    const int16_t samples[] = {1000, 3000};
    std::memcpy(p, samples, sizeof samples);
    b->Unlock(p, n, nullptr, 0);
    ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    machine::control::StepAudio(100);
    DWORD play = 0;
    b->GetCurrentPosition(&play, nullptr);
    EXPECT_LT(play, 4u);
    const std::vector<int16_t> out = machine::control::RecordedAudio();
    ASSERT_EQ(out.size(), 200u);
    for (int16_t s : out) {
        EXPECT_GE(s, 1000);
        EXPECT_LE(s, 3000);
    }
    b->Release();
}

TEST_F(DirectSoundBuffers, NotificationsFireInOrderAsTheCursorPasses) {
    IDirectSoundBuffer* b = Make(400, Format(1, 22050, 16), DSBCAPS_CTRLPOSITIONNOTIFY);
    HANDLE first = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE second = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    IDirectSoundNotify* notify = nullptr;
    ASSERT_EQ(b->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify)), S_OK);
    DSBPOSITIONNOTIFY positions[] = {{299, second}, {99, first}};
    ASSERT_EQ(notify->SetNotificationPositions(2, positions), DS_OK);
    notify->Release();  // the positions stay in force
    b->Play(0, 0, DSBPLAY_LOOPING);
    machine::control::StepAudio(40);  // 80 bytes: nothing passed yet
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    machine::control::StepAudio(20);  // to byte 120
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(second, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    machine::control::StepAudio(100);  // to byte 320
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    b->Release();
    CloseHandle(first);
    CloseHandle(second);
}

// A full-scale sine at 11,025 Hz mono comes out at 22,050 Hz stereo with its length and level.
TEST_F(DirectSoundBuffers, ConvertsAndResamplesToThePrimaryFormat) {
    const DWORD frames = 1103;
    IDirectSoundBuffer* b = Make(frames * 2, Format(1, 11025, 16), DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN);
    void* p;
    DWORD n;
    b->Lock(0, frames * 2, &p, &n, nullptr, nullptr, 0);
    auto* s = static_cast<int16_t*>(p);
    for (DWORD i = 0; i < frames; ++i) s[i] = static_cast<int16_t>(std::lround(20000 * std::sin(2 * M_PI * 441 * i / 11025.0)));
    b->Unlock(p, n, nullptr, 0);
    b->Play(0, 0, 0);
    machine::control::StepAudio(4000);
    const std::vector<int16_t> out = machine::control::RecordedAudio();
    size_t last = 0;
    int peakLeft = 0, peakRight = 0;
    for (size_t f = 0; f < out.size() / 2; ++f) {
        if (out[2 * f] != 0) last = f;
        peakLeft = std::max(peakLeft, std::abs(int{out[2 * f]}));
        peakRight = std::max(peakRight, std::abs(int{out[2 * f + 1]}));
    }
    EXPECT_NEAR(static_cast<double>(last), 2 * frames, 4);
    EXPECT_NEAR(peakLeft, 20000, 100);
    EXPECT_EQ(peakLeft, peakRight);
    b->Release();
}

TEST_F(DirectSoundBuffers, GainsAndSaturation) {
    IDirectSoundBuffer* b = Make(400, Format(1, 22050, 16), DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN);
    IDirectSoundBuffer* c = Make(400, Format(1, 22050, 8));
    void* p;
    DWORD n;
    b->Lock(0, 400, &p, &n, nullptr, nullptr, 0);
    for (DWORD i = 0; i < 200; ++i) static_cast<int16_t*>(p)[i] = 30000;
    b->Unlock(p, n, nullptr, 0);
    c->Lock(0, 400, &p, &n, nullptr, nullptr, 0);
    std::memset(p, 255, 400);  // 8-bit full scale: 127 << 8
    c->Unlock(p, n, nullptr, 0);
    b->Play(0, 0, DSBPLAY_LOOPING);
    c->Play(0, 0, DSBPLAY_LOOPING);
    machine::control::StepAudio(10);
    std::vector<int16_t> out = machine::control::RecordedAudio();
    EXPECT_EQ(out[0], 32767) << "the sum saturates";
    c->Stop();
    b->SetVolume(-602);
    b->SetPan(DSBPAN_RIGHT);
    machine::control::StepAudio(10);
    out = machine::control::RecordedAudio();
    EXPECT_EQ(out[20], 0);
    EXPECT_NEAR(out[21], 15000, 100);
    b->Release();
    c->Release();
}

TEST_F(DirectSoundBuffers, LostBuffersRefuseWorkUntilRestoredAndComeBackScrambled) {
    IDirectSoundBuffer* b = Make(8, Format(1, 22050, 16));
    IDirectSoundBuffer* dup = nullptr;
    ds->DuplicateSoundBuffer(b, &dup);
    b->Play(0, 0, DSBPLAY_LOOPING);
    ASSERT_TRUE(dsound::control::LoseBuffer(b));
    DWORD status = 0;
    dup->GetStatus(&status);
    EXPECT_EQ(status, DWORD{DSBSTATUS_BUFFERLOST}) << "the memory is shared, so is its loss";
    void* p;
    DWORD n;
    EXPECT_EQ(b->Lock(0, 8, &p, &n, nullptr, nullptr, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(b->Play(0, 0, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(b->Restore(), DS_OK);
    ASSERT_EQ(b->Lock(0, 8, &p, &n, nullptr, nullptr, 0), DS_OK);
    EXPECT_NE(static_cast<BYTE*>(p)[0], 0) << "the contents are gone";
    b->Unlock(p, n, nullptr, 0);
    b->Release();
    dup->Release();
}

TEST_F(DirectSoundBuffers, TheDeviceLivesWhileItsBuffersDo) {
    IDirectSoundBuffer* b = Make(400, Format(1, 22050, 16));
    ds->Release();
    ds = nullptr;
    EXPECT_EQ(machine::control::LiveObjects("sound device"), 1);
    EXPECT_EQ(b->Play(0, 0, 0), DS_OK);
    machine::control::StepAudio(10);
    b->Release();
    EXPECT_EQ(machine::control::LiveObjects("sound device"), 0);
}

}  // namespace
