#include <filesystem>
#include <new>

#include "sound_fixture.h"
#include "temp_folder.h"
#include "wave_bytes.h"

namespace {

class Sounds : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_EQ(system.Initialize(Window(), DSSCL_PRIORITY), S_OK);
    }
    TempFolder folder;
    CSoundSystem system;
};

TEST_F(Sounds, AFreeBufferIsPlayedAndABusyOneChosenByTheSharedGenerator) {
    CSoundSample* sample = nullptr;
    ASSERT_EQ(system.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 3), S_OK);
    for (DWORD i = 0; i < 3; ++i) {
        EXPECT_EQ(sample->GetFreeBuffer(), sample->BufferAt(i));
        EXPECT_EQ(sample->Play(0, 0, 1, -1, 0), DS_OK);
    }
    srand(1);
    const int pick = rand() % 3;
    srand(1);
    EXPECT_EQ(sample->GetFreeBuffer(), sample->BufferAt(pick));
    EXPECT_TRUE(sample->IsAnyPlaying());
    EXPECT_EQ(sample->StopAll(), S_OK);
    EXPECT_FALSE(sample->IsAnyPlaying());
    delete sample;
}

TEST_F(Sounds, ALostBufferIsRestoredAndRefilledBeforeItPlays) {
    CSoundSample* sample = nullptr;
    ASSERT_EQ(system.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 1), S_OK);
    dsound::control::LoseBuffer(sample->BufferAt(0));
    // Two answers of "still lost" keep the restore waiting 10 ms once.
    machine::control::FailCall("IDirectSoundBuffer::Restore", 1, static_cast<uint32_t>(DSERR_BUFFERLOST));
    machine::control::FailCall("IDirectSoundBuffer::Restore", 1, static_cast<uint32_t>(DSERR_BUFFERLOST));
    EXPECT_EQ(sample->Play(0, 0, 0, -1, 0), DS_OK);
    EXPECT_EQ(machine::control::Sleeps(), std::vector<uint32_t>{10});
    void* p;
    DWORD n;
    ASSERT_EQ(sample->BufferAt(0)->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    CRiffWaveFile wave;
    wave.OpenByName("BOUNCE", nullptr, 1);
    std::vector<BYTE> expected(n);
    DWORD read = 0;
    wave.Read(expected.data(), n, &read);
    EXPECT_EQ(std::memcmp(p, expected.data(), n), 0) << "refilled with the sound";
    sample->BufferAt(0)->Unlock(p, n, nullptr, 0);
    // A loss that lasts gives up after a second of waits.
    dsound::control::LoseBuffer(sample->BufferAt(0));
    for (int i = 0; i < 300; ++i) machine::control::FailCall("IDirectSoundBuffer::Restore", 1, static_cast<uint32_t>(DSERR_BUFFERLOST));
    EXPECT_EQ(sample->Play(0, 0, 0, -1, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(machine::control::Sleeps().size(), 101u);
    delete sample;
}

TEST_F(Sounds, CreationFailuresLeaveNothingBehind) {
    struct Case {
        const char* call;
        uint64_t nth;
        HRESULT code;
        HRESULT answer;
        std::vector<std::string> traces;
    };
    const Case cases[] = {
        {"IDirectSound8::CreateSoundBuffer", 1, DSERR_OUTOFMEMORY, DSERR_OUTOFMEMORY, {"CreateSoundBuffer"}},
        {"IDirectSound8::DuplicateSoundBuffer", 2, DSERR_ALLOCATED, DSERR_ALLOCATED, {"DuplicateSoundBuffer"}},
        {"IDirectSoundBuffer::Lock", 1, DSERR_INVALIDCALL, DSERR_INVALIDCALL, {"Lock"}},
        {"new", 1, 0, E_OUTOFMEMORY, {}},
        {"new", 2, 0, E_OUTOFMEMORY, {}},
    };
    // A sanitizer's runtime brings its own non-throwing new, which the injection cannot reach.
    machine::control::FailCall("new", 1, 0);
    char* probe = new (std::nothrow) char;
    const bool newInjectable = probe == nullptr;
    delete probe;
    machine::control::Reset();
    machine::control::SetAudioSink(machine::control::AudioSink::Virtual);
    for (const Case& c : cases) {
        if (std::string(c.call) == "new" && !newInjectable) continue;
        SCOPED_TRACE(std::string(c.call) + " #" + std::to_string(c.nth));
        machine::control::ClearDebugLines();
        machine::control::FailCall(c.call, c.nth, static_cast<uint32_t>(c.code));
        CSoundSample* sample = reinterpret_cast<CSoundSample*>(1);
        EXPECT_EQ(system.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 3), c.answer);
        EXPECT_EQ(sample, reinterpret_cast<CSoundSample*>(1));
        EXPECT_EQ(Traces(), c.traces);
        EXPECT_EQ(machine::control::LiveObjects("sound buffer"), 0);
    }
    CSoundSample* sample = nullptr;
    EXPECT_EQ(system.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 0), E_INVALIDARG);
    // The platform's success code for the first buffer is the creation's answer (not from memory).
    machine::control::FailCall("IDirectSound8::CreateSoundBuffer", 1, DS_NO_VIRTUALIZATION);
    ASSERT_EQ(system.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 2), DS_NO_VIRTUALIZATION);
    delete sample;
    CSoundSystem none;
    EXPECT_EQ(none.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 1), CO_E_NOTINITIALIZED);
    EXPECT_EQ(none.SetPrimaryBufferFormat(2, 22050, 16), CO_E_NOTINITIALIZED);
}

TEST_F(Sounds, ThePrimaryFormatIsValidatedAndKeptByTheDevice) {
    EXPECT_EQ(system.SetPrimaryBufferFormat(1, 11025, 8), S_OK);
    EXPECT_EQ(machine::control::GetAudioStats().format, (machine::AudioFormat{11025, 1, 8}));
    EXPECT_TRUE(FAILED(system.SetPrimaryBufferFormat(2, 22050, 12)));
    EXPECT_EQ(Traces(), std::vector<std::string>{"SetFormat"});
    EXPECT_EQ(machine::control::GetAudioStats().format, (machine::AudioFormat{11025, 1, 8}));
}

TEST_F(Sounds, StreamsRefillSegmentsAndStopOnceTheWaveIsHeard) {
    WaveBytes w = WaveBytes::Riff(4 + 24 + 8 + 950);
    w.Format(16, 1, 1, 22050, 8).Id("data").U32(950);
    for (int i = 0; i < 950; ++i) w.bytes.push_back(static_cast<uint8_t>(i % 250));
    w.WriteTo("long.wav");
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CSoundStream* stream = nullptr;
    EXPECT_EQ(system.CreateStream(&stream, "long.wav", 0, GUID_NULL, 0, 100, event), E_INVALIDARG);
    EXPECT_EQ(system.CreateStream(&stream, "long.wav", 0, GUID_NULL, 65536, 65536, event), E_INVALIDARG);
    ASSERT_EQ(system.CreateStream(&stream, "long.wav", 0, GUID_NULL, 4, 100, event), S_OK);
    IDirectSoundBuffer* buffer = stream->BufferAt(0);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    int refills = 0;
    DWORD status = DSBSTATUS_PLAYING;
    while ((status & DSBSTATUS_PLAYING) && refills < 40) {
        machine::control::StepAudio(50);
        if (WaitForSingleObject(event, 0) == WAIT_OBJECT_0) {
            ASSERT_EQ(stream->RefillNextSegment(FALSE), S_OK);
            ++refills;
        }
        buffer->GetStatus(&status);
    }
    EXPECT_FALSE(status & DSBSTATUS_PLAYING) << "the stream stops by itself";
    EXPECT_GE(refills, 9);
    EXPECT_LE(refills, 11);
    delete stream;
    // An empty wave with looping ends its refill instead of hanging.
    WaveBytes empty = WaveBytes::Riff(4 + 24 + 8);
    empty.Format(16, 1, 1, 22050, 8).Id("data").U32(0);
    empty.WriteTo("empty.wav");
    ASSERT_EQ(system.CreateStream(&stream, "empty.wav", 0, GUID_NULL, 2, 100, event), S_OK);
    EXPECT_EQ(stream->RefillNextSegment(TRUE), S_OK);
    delete stream;
    CloseHandle(event);
}

// The showcase's "BOUNCE" played once through the WAV sink with the fixed clock.
TEST_F(Sounds, BounceThroughTheWavSinkIsSilentThenHeardForItsLength) {
    machine::control::Reset();
    const std::string path = (folder.Root() / "bounce.wav").string();
    machine::control::SetAudioOutputPath(path);
    CSoundSystem sound;
    ASSERT_EQ(sound.Initialize(Window(), DSSCL_PRIORITY), S_OK);
    ASSERT_EQ(sound.SetPrimaryBufferFormat(2, 22050, 16), S_OK);
    CSoundSample* sample = nullptr;
    ASSERT_EQ(sound.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 5), S_OK);
    for (int frame = 0; frame < 60; ++frame) machine::FramePresented();  // one second of silence
    ASSERT_EQ(sample->Play(0, 0, 1, -1, 0), DS_OK);
    for (int frame = 0; frame < 60; ++frame) machine::FramePresented();
    std::string error;
    ASSERT_TRUE(machine::control::WriteAudioFile(error)) << error;
    delete sample;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 44u + 2 * 22050 * 4);
    auto sample16 = [&](size_t frame, int channel) {
        return static_cast<int16_t>(file[44 + frame * 4 + channel * 2] | file[45 + frame * 4 + channel * 2] << 8);
    };
    for (size_t f = 0; f < 22050; ++f) ASSERT_EQ(sample16(f, 0), 0) << "silence before the play, frame " << f;
    size_t first = 0, last = 0;
    int peak = 0;
    for (size_t f = 22050; f < 44100; ++f) {
        const int s = std::abs(int{sample16(f, 0)});
        if (s > 0 && first == 0) first = f;
        if (s > 0) last = f;
        peak = std::max(peak, s);
    }
    EXPECT_GT(peak, 10000);
    EXPECT_GE(first, 22050u);
    EXPECT_LT(first, 22060u) << "heard from the frame it was played";
    EXPECT_NEAR(static_cast<double>(last - first), 6712.0 * 2, 80) << "0.61 s at the primary rate";
    EXPECT_EQ(machine::control::GetAudioStats().plays, 1u);
    EXPECT_NE(machine::ReportJson(0).find("\"audio\": {\"sink\": \"wav\", \"format\": {\"channels\": 2, \"rate\": 22050"),
              std::string::npos);
}

}  // namespace
