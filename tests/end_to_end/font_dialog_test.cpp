// Command 40011 opens the font dialog: a face and size chosen there replace the fonts, so the HUD and
// the scene-placed text are drawn from the new font's glyph texture (a 24-point font needs a larger
// one); a cancelled dialog changes nothing.
#include <fstream>
#include <set>

#include "scripted_run.h"
#include "temp_folder.h"

namespace {

// The glyph textures of the last frame's text draws (vertex formats 0x144 on the screen, 0x112 in
// the scene), each once.
std::set<std::string> TextTextures(const JsonValue& report) {
    std::set<std::string> textures;
    const JsonValue* calls = report.Find("draw_calls");
    const JsonValue* last = calls ? calls->Find("last_frame") : nullptr;
    if (last == nullptr) return textures;
    for (const JsonValue& draw : last->items) {
        const JsonValue* fvf = draw.Find("fvf");
        const JsonValue* bound = draw.Find("textures");
        if (fvf == nullptr || bound == nullptr || (fvf->text != "0x144" && fvf->text != "0x112")) continue;
        for (const JsonValue& texture : bound->items) textures.insert(texture.text);
    }
    return textures;
}

struct FontAnswer {
    const char* name;
    const char* answer;
    const char* texture;
};

void PrintTo(const FontAnswer& answer, std::ostream* out) { *out << answer.name; }

class FontDialog : public ScriptedRun, public ::testing::WithParamInterface<FontAnswer> {
protected:
    test_support::TempFolder m_scripts;
};

TEST_P(FontDialog, TheAnswerDecidesTheTextFont) {
    const std::filesystem::path path = m_scripts.Path() / "font.txt";
    std::ofstream(path) << "5 window command 40011\n" << GetParam().answer;
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 20, .extra = {{"MORVATH_INPUT", path.string()}}}));
    EXPECT_EQ(Count("dialogs_shown"), 1.0);
    EXPECT_EQ(TextTextures(Report()), (std::set<std::string>{GetParam().texture}));
}

INSTANTIATE_TEST_SUITE_P(Answers, FontDialog,
                         ::testing::Values(FontAnswer{"Chosen", "6 dialog font DejaVu Serif 24\n", "512x512 A4R4G4B4"},
                                           FontAnswer{"Cancelled", "6 dialog key escape\n", "256x256 A4R4G4B4"}),
                         [](const ::testing::TestParamInfo<FontAnswer>& info) { return std::string(info.param.name); });

}  // namespace
