// Bad media: each media file the program reads, missing, cut short at fixed points and replaced by
// pseudo-random bytes of its own length. The program runs on as without the file: it shows every
// scene and plays its sound (F5 held), ends by itself with status 0, releases everything, and writes
// to the log only what the cursor reports about its texture. A sound file "BOUNCE" in the working
// folder is read before the program's own resource; a bad one is traced and the program runs silent.
#include <cctype>
#include <fstream>
#include <regex>

#include "scripted_run.h"

namespace {

namespace fs = std::filesystem;

enum class Damage { Missing, Cut, Random };

struct MediaCase {
    const char* file;  // relative to the run folder
    int header;        // the bytes of its fixed header
    Damage damage;
    int keep;  // Cut: the bytes kept (-1: half the file, -2: the header less one byte)
};

std::string CaseName(const MediaCase& c) {
    std::string name = c.file;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    switch (c.damage) {
    case Damage::Missing: return name + "_Missing";
    case Damage::Random: return name + "_RandomBytes";
    case Damage::Cut:
        return name + (c.keep == -1   ? "_CutInHalf"
                       : c.keep == -2 ? "_CutInItsHeader"
                                      : "_CutAt" + std::to_string(c.keep));
    }
    return name;
}

void PrintTo(const MediaCase& c, std::ostream* out) { *out << CaseName(c); }

// A small sound of the program's own kind (PCM, mono, 11,025 Hz, 16 bits) as a "BOUNCE" file.
std::vector<uint8_t> SoundFile() {
    std::vector<uint8_t> b;
    auto id = [&b](const char* s) { b.insert(b.end(), s, s + 4); };
    auto u32 = [&b](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&b](uint16_t v) {
        b.push_back(static_cast<uint8_t>(v));
        b.push_back(static_cast<uint8_t>(v >> 8));
    };
    const uint32_t dataBytes = 4000;
    id("RIFF"), u32(36 + dataBytes), id("WAVE");
    id("fmt "), u32(16), u16(1), u16(1), u32(11025), u32(22050), u16(2), u16(16);
    id("data"), u32(dataBytes);
    for (uint32_t i = 0; i < dataBytes / 2; ++i) u16(static_cast<uint16_t>((i % 50) < 25 ? 8000 : -8000));
    return b;
}

constexpr const char* kSound = "BOUNCE";

std::vector<MediaCase> Cases() {
    const std::pair<const char*, int> files[] = {
        {"media/tile.bmp", 54}, {"media/grass.bmp", 54}, {"media/shadow.bmp", 54}, {"media/cursor.dds", 128},
        {"blank.cur", 22},      {"media/cube.x", 16},    {"media/sphere.x", 16},   {kSound, 44},
    };
    std::vector<MediaCase> cases;
    for (const auto& [file, header] : files) {
        cases.push_back({file, header, Damage::Missing, 0});
        for (int keep : {0, 1, -2, -1}) cases.push_back({file, header, Damage::Cut, keep});
        cases.push_back({file, header, Damage::Random, 0});
    }
    return cases;
}

// The same bytes on every run: a generator seeded by the file's name.
std::vector<uint8_t> PseudoRandomBytes(const std::string& name, size_t count) {
    uint32_t state = 2166136261u;
    for (char c : name) state = (state ^ static_cast<uint8_t>(c)) * 16777619u;
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<uint8_t>(state >> 24);
    }
    return bytes;
}

void Damaged(const fs::path& runFolder, const MediaCase& c) {
    const fs::path path = runFolder / c.file;
    std::vector<uint8_t> bytes;
    if (c.file == std::string(kSound)) {
        bytes = SoundFile();
    } else {
        const std::string text = ReadFile(path);
        bytes.assign(text.begin(), text.end());
    }
    ASSERT_GT(bytes.size(), size_t(c.header)) << c.file;
    switch (c.damage) {
    case Damage::Missing: fs::remove(path); return;
    case Damage::Cut:
        bytes.resize(c.keep == -1 ? bytes.size() / 2 : c.keep == -2 ? size_t(c.header - 1) : size_t(c.keep));
        break;
    case Damage::Random: bytes = PseudoRandomBytes(c.file, bytes.size()); break;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class BadMedia : public ScriptedRun, public ::testing::WithParamInterface<MediaCase> {};

TEST_P(BadMedia, TheProgramRunsOnAsWithoutTheFile) {
    const MediaCase c = GetParam();
    bool prepared = false;
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 120, .script = "bad_media.txt", .prepare = [&](const fs::path& folder) {
                                     Damaged(folder, c);
                                     prepared = true;
                                 }}));
    ASSERT_TRUE(prepared);
    EXPECT_EQ(Count("frames_presented"), 120.0);
    EXPECT_EQ(Count("direct3d_objects"), 0.0);
    const JsonValue* live = Report().Find("live_objects");
    ASSERT_NE(live, nullptr);
    for (const auto& [kind, count] : live->members) EXPECT_EQ(count.number, 0.0) << kind << " still held";

    // The log holds its header and, for a cursor texture that cannot be read, the cursor's one line.
    const std::string log = ReadFile(m_run.runFolder / "ErrorLog.txt");
    const std::regex cursorLine("##  Error [^\n]* in file cursor, line [0-9]{3} \n");
    const auto cursorLines = std::distance(std::sregex_iterator(log.begin(), log.end(), cursorLine),
                                           std::sregex_iterator());
    const bool cursorTexture = c.file == std::string("media/cursor.dds");
    EXPECT_EQ(cursorLines, cursorTexture ? 1 : 0) << log;
    EXPECT_EQ(log.find("##"), cursorTexture ? log.find("##  Error") : std::string::npos) << log;

    // A sound file that reads as a wave is played (cut in half it is still a shorter wave); a bad one
    // is traced by the sound module and no sound is made, so F5 plays nothing.
    const JsonValue* audio = Report().Find("audio");
    ASSERT_NE(audio, nullptr);
    const bool soundFile = c.file == std::string(kSound);
    const bool playable = !soundFile || c.damage == Damage::Missing || (c.damage == Damage::Cut && c.keep == -1);
    bool traced = false;
    if (const JsonValue* lines = Report().Find("debug_output"))
        for (const JsonValue& line : lines->items) traced = traced || line.text.rfind("dsutil(", 0) == 0;
    EXPECT_EQ(traced, !playable) << m_run.output;
    if (playable) {
        EXPECT_GT(NumberIn(*audio, "plays"), 0.0);
    } else {
        EXPECT_EQ(NumberIn(*audio, "plays"), 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFile, BadMedia, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<MediaCase>& info) { return CaseName(info.param); });

}  // namespace
