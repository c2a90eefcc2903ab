#include "sound_fixture.h"

namespace {

using SoundSystem = SoundTest;

// The showcase's sequence: a sound system at the priority level, a stereo 22,050 Hz 16-bit primary
// format, "BOUNCE" in five buffers, one play.
TEST_F(SoundSystem, TheShowcasesBounceIsMadeOnceAndShared) {
    CSoundSystem system;
    ASSERT_EQ(system.Initialize(Window(), DSSCL_PRIORITY), S_OK);
    ASSERT_EQ(system.SetPrimaryBufferFormat(2, 22050, 16), S_OK);
    CSoundSample* sample = nullptr;
    ASSERT_EQ(system.CreateSample(&sample, "BOUNCE", 0, GUID_NULL, 5), S_OK);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(machine::control::LiveObjects("sound buffer"), 5);
    const void* memory = dsound::control::SampleMemoryOf(sample->BufferAt(0));
    for (DWORD i = 1; i < 5; ++i) EXPECT_EQ(dsound::control::SampleMemoryOf(sample->BufferAt(i)), memory);
    DSBCAPS caps{sizeof caps};
    ASSERT_EQ(sample->BufferAt(0)->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 13424u);
    EXPECT_EQ(sample->Play(0, 0, 1, -1, 0), DS_OK);
    DWORD status = 0;
    sample->BufferAt(0)->GetStatus(&status);
    EXPECT_EQ(status, DWORD{DSBSTATUS_PLAYING});
    machine::control::StepAudio(22050);  // one second: the 0.61 s sound is over
    sample->BufferAt(0)->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    delete sample;
    EXPECT_EQ(machine::control::LiveObjects("sound buffer"), 0);
    EXPECT_TRUE(Traces().empty());
}

}  // namespace
