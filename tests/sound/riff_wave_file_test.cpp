#include <filesystem>

#include "resource_builders.h"
#include "restable.h"
#include "sound_fixture.h"
#include "temp_folder.h"
#include "wave_bytes.h"

namespace {

class RiffWaveFile : public SoundTest {
protected:
    TempFolder folder;
};

WaveBytes Pcm16(uint32_t dataBytes) {
    WaveBytes w = WaveBytes::Riff(4 + 24 + 8 + dataBytes);
    w.Format(16, 1, 1, 11025, 16).Id("data").U32(dataBytes).Fill(dataBytes, 7);
    return w;
}

struct ReadCase {
    const char* name;
    WaveBytes file;
    HRESULT open;
    std::vector<std::string> traces;
    DWORD dataSize;
    WORD cbSize;
};

std::vector<ReadCase> ReadCases() {
    std::vector<ReadCase> cases;
    cases.push_back({"plain PCM", Pcm16(100), S_OK, {}, 100, 0});
    cases.push_back({"shorter than a header", WaveBytes().Id("RIFF"), E_FAIL, {"mmioDescend", "ReadMMIO"}, 0, 0});
    cases.push_back({"not RIFF", WaveBytes().Id("RIFX").U32(4).Id("WAVE"), E_FAIL, {"mmioFOURCC", "ReadMMIO"}, 0, 0});
    cases.push_back({"not WAVE", WaveBytes().Id("RIFF").U32(4).Id("AVI "), E_FAIL, {"mmioFOURCC", "ReadMMIO"}, 0, 0});
    {
        WaveBytes w = WaveBytes::Riff(4 + 22);
        w.Format(14, 1, 1, 11025, 16);
        cases.push_back({"fmt of 14 bytes", w, E_FAIL, {"sizeof(PCMWAVEFORMAT)", "ReadMMIO"}, 0, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 26 + 8 + 4);
        w.Format(18, 1, 1, 11025, 16).U16(0xBEEF).Id("data").U32(4).Fill(4, 1);
        cases.push_back({"PCM fmt of 18 bytes", w, S_OK, {}, 4, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 48 + 8 + 4);
        w.Format(40, 2, 1, 11025, 4).U16(22).Fill(22, 3).Id("data").U32(4).Fill(4, 1);
        cases.push_back({"non-PCM with 22 extra bytes", w, S_OK, {}, 4, 22});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 26 + 8 + 4);
        w.Format(18, 2, 1, 11025, 4).U16(200).Id("data").U32(4).Fill(4, 1);
        cases.push_back({"extra bytes past the fmt chunk", w, E_FAIL, {"mmioRead", "ReadMMIO"}, 0, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 12 + 8 + 24);
        w.Id("data").U32(4).Fill(4, 1).Id("fact").U32(0).Format(16, 1, 1, 11025, 16);
        cases.push_back({"data before fmt, fact between", w, S_OK, {}, 4, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 10 + 24 + 8 + 2);
        w.Id("odd ").U32(1).Fill(1, 9).Fill(1, 0).Format(16, 1, 1, 11025, 16).Id("data").U32(2).Fill(2, 1);
        cases.push_back({"odd chunk with its pad byte", w, S_OK, {}, 2, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 24);
        w.Format(16, 1, 1, 11025, 16);
        cases.push_back({"no data chunk", w, E_FAIL, {"mmioDescend", "ResetFile"}, 0, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 8 + 4);
        w.Id("junk").U32(4).Fill(4, 0);
        cases.push_back({"no fmt chunk", w, E_FAIL, {"mmioDescend", "ReadMMIO"}, 0, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(0xFFFFFFF0u);
        w.Id("junk").U32(0xFFFFFFFFu).Format(16, 1, 1, 11025, 16).Id("data").U32(4).Fill(4, 1);
        cases.push_back({"hostile sizes end the search", w, E_FAIL, {"mmioDescend", "ReadMMIO"}, 0, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 24 + 8 + 10);
        w.Format(16, 1, 1, 11025, 16).Id("data").U32(0x7FFFFF00u).Fill(10, 1);
        cases.push_back({"data larger than the file is bounded by it", w, S_OK, {}, 10, 0});
    }
    {
        WaveBytes w = WaveBytes::Riff(4 + 24 + 8);
        w.Format(16, 1, 1, 11025, 16).Id("data").U32(0);
        cases.push_back({"empty data", w, S_OK, {}, 0, 0});
    }
    return cases;
}

// The same image read from a disk file and from the program's resource table.
TEST_F(RiffWaveFile, ReadsGoodAndMalformedImagesFromFilesAndResources) {
    for (const ReadCase& c : ReadCases()) {
        for (bool fromResource : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (fromResource ? " (resource)" : " (file)"));
            machine::control::ClearDebugLines();
            RESOURCE_TABLE_ENTRY entry{"WAVE", "TESTWAVE", 0, c.file.bytes.data(), static_cast<DWORD>(c.file.bytes.size())};
            if (fromResource) RegisterProgramResources(&entry, 1);
            else c.file.WriteTo("TESTWAVE");
            {
                CRiffWaveFile wave;
                EXPECT_EQ(wave.OpenByName("TESTWAVE", nullptr, 1), c.open);
                EXPECT_EQ(Traces(), c.traces);
                EXPECT_EQ(wave.DataSize(), c.dataSize);
                if (c.open == S_OK) {
                    ASSERT_NE(wave.m_pwfx, nullptr);
                    EXPECT_EQ(wave.m_pwfx->cbSize, c.cbSize);
                    std::vector<BYTE> data(c.dataSize + 8);
                    DWORD read = 99;
                    EXPECT_EQ(wave.Read(data.data(), c.dataSize, &read), S_OK);
                    EXPECT_EQ(read, c.dataSize);
                }
            }
            std::filesystem::remove("TESTWAVE");
            static RESOURCE_TABLE_ENTRY bounce[] = {
                {"WAVE", "BOUNCE", 0, BounceSound().data(), static_cast<DWORD>(BounceSound().size())}};
            RegisterProgramResources(bounce, 1);
        }
    }
}

TEST_F(RiffWaveFile, BounceComesFromTheWaveResourceUnlessAFileOfThatNameOpens) {
    {
        CRiffWaveFile wave;
        ASSERT_EQ(wave.OpenByName("BOUNCE", nullptr, 1), S_OK);
        EXPECT_EQ(wave.DataSize(), 13424u);
        EXPECT_EQ(wave.m_pwfx->nChannels, 1);
        EXPECT_EQ(wave.m_pwfx->nSamplesPerSec, 11025u);
        EXPECT_EQ(wave.m_pwfx->wBitsPerSample, 16);
        std::vector<BYTE> data(20000);
        DWORD read = 0;
        EXPECT_EQ(wave.Read(data.data(), 20000, &read), S_OK);
        EXPECT_EQ(read, 13424u);
        EXPECT_EQ(wave.Read(data.data(), 20000, &read), S_OK);
        EXPECT_EQ(read, 0u);
    }
    std::filesystem::create_directory("BOUNCE");  // a folder is no file: the resource is read
    {
        CRiffWaveFile wave;
        EXPECT_EQ(wave.OpenByName("BOUNCE", nullptr, 1), S_OK);
        EXPECT_EQ(wave.DataSize(), 13424u);
    }
    std::filesystem::remove("BOUNCE");
    Pcm16(6).WriteTo("BOUNCE");
    CRiffWaveFile wave;
    EXPECT_EQ(wave.OpenByName("BOUNCE", nullptr, 1), S_OK);
    EXPECT_EQ(wave.DataSize(), 6u);
    CRiffWaveFile missing;
    EXPECT_EQ(missing.OpenByName("NOSUCHWAVE", nullptr, 1), E_FAIL);
    EXPECT_EQ(Traces(), std::vector<std::string>{"FindResource"});
}

TEST_F(RiffWaveFile, ADataChunkLongerThanTheFileFailsTheReadThatReachesItsEnd) {
    WaveBytes w = WaveBytes::Riff(4 + 24 + 8 + 10);
    w.Format(16, 1, 1, 11025, 16).Id("data").U32(1000).Fill(10, 1);
    w.WriteTo("long.wav");
    CRiffWaveFile wave;
    ASSERT_EQ(wave.OpenByName("long.wav", nullptr, 1), S_OK);
    std::vector<BYTE> data(1000);
    DWORD read = 0;
    EXPECT_EQ(wave.Read(data.data(), 1000, &read), E_FAIL);
    EXPECT_EQ(Traces(), std::vector<std::string>{"mmioinfoIn.pchNext"});
    // Only what was copied counts as read: the next round starts from the data's start again.
    EXPECT_EQ(wave.ResetFile(), S_OK);
    EXPECT_EQ(wave.Read(data.data(), 10, &read), S_OK);
    EXPECT_EQ(read, 10u);
}

TEST_F(RiffWaveFile, MemoryImagesReadByOffsets) {
    std::vector<BYTE> image(100, 5), out(100);
    CRiffWaveFile wave;
    EXPECT_EQ(wave.AttachMemoryImage(image.data(), 100, nullptr, 2), E_NOTIMPL);  // attached all the same
    DWORD read = 0;
    EXPECT_EQ(wave.Read(out.data(), 60, &read), S_OK);
    EXPECT_EQ(read, 60u);
    EXPECT_EQ(wave.Read(out.data(), 0xFFFFFFFFu, &read), S_OK);
    EXPECT_EQ(read, 40u);
    EXPECT_EQ(wave.Read(out.data(), 60, nullptr), S_OK);
    EXPECT_EQ(wave.Read(nullptr, 60, &read), E_INVALIDARG);
    EXPECT_EQ(wave.ResetFile(), S_OK);
    EXPECT_EQ(wave.Read(out.data(), 60, &read), S_OK);
    EXPECT_EQ(read, 60u);
    EXPECT_EQ(wave.WriteData(1, out.data(), &read), E_NOTIMPL);
}

TEST_F(RiffWaveFile, WritingAPcmFileGivesTheStandardLayoutAndReadsBack) {
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
    std::vector<BYTE> samples(100);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<BYTE>(i);
    {
        CRiffWaveFile wave;
        ASSERT_EQ(wave.OpenByName("out.wav", &format, 2), S_OK);
        DWORD written = 0;
        ASSERT_EQ(wave.WriteData(100, samples.data(), &written), S_OK);
        EXPECT_EQ(written, 100u);
    }
    std::ifstream in("out.wav", std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 156u);
    auto u32 = [&](size_t at) { return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | uint32_t(file[at + 3]) << 24; };
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), 148u);
    EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 16), "fmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "fact");
    EXPECT_EQ(u32(44), 0u);
    EXPECT_EQ(std::string(file.begin() + 48, file.begin() + 52), "data");
    EXPECT_EQ(u32(52), 100u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 56, file.end()), samples);
    CRiffWaveFile back;
    ASSERT_EQ(back.OpenByName("out.wav", nullptr, 1), S_OK);
    EXPECT_EQ(back.DataSize(), 100u);
}

TEST_F(RiffWaveFile, InjectedIoFailuresAreTracedAndLeaveTheObjectSafe) {
    struct Case {
        const char* call;
        uint64_t nth;
        uint32_t mode;
        std::vector<std::string> traces;
    };
    const Case cases[] = {
        {"mmioDescend", 2, 1, {"mmioDescend", "ReadMMIO"}},
        {"mmioAscend", 1, 1, {"mmioAscend", "ReadMMIO"}},
        {"mmioSeek", 1, 1, {"mmioSeek", "ResetFile"}},
        {"mmioOpenA", 1, 2, {"mmioOpen"}},
        {"mmioCreateChunk", 1, 2, {"mmioCreateChunk", "WriteMMIO"}},
        {"mmioWrite", 1, 2, {"mmioWrite", "WriteMMIO"}},
        // The close then hands back a write state that was never filled: the layer refuses it, and
        // the file is closed all the same.
        {"mmioGetInfo", 1, 2, {"mmioGetInfo", "ResetFile", "mmioSetInfo"}},
    };
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
    Pcm16(10).WriteTo("in.wav");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        machine::control::Reset();
        machine::control::FailCall(c.call, c.nth, 1);
        {
            CRiffWaveFile wave;
            EXPECT_TRUE(FAILED(wave.OpenByName(c.mode == 1 ? "in.wav" : "out.wav", &format, c.mode)));
        }
        EXPECT_EQ(Traces(), c.traces);
    }
}

}  // namespace
