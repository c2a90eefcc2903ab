// Captured frames of the three scenes and of the cursor against the small reference pictures in
// references/ (100 x 75 for a whole frame, larger for the cuts of the mesh chain and the cursor), compared
// coarsely (frame_compare.h): a black frame, a missing object or another scene fails, a change of
// rounding does not. A failing comparison leaves its shrunk capture as reference_<name>_actual.png in
// the test's working folder. To write the references anew from this build's frames, run
//   MORVATH_UPDATE_REFERENCES=1 build/release/tests/end_to_end/end_to_end_tests --gtest_filter='ReferenceFrames.*'
// and look at the pictures in tests/end_to_end/references/ before committing them.
#include <cstdlib>

#include "frame_compare.h"
#include "scripted_run.h"

namespace {

// A cut of a captured frame of 800 x 600, shrunk to the given size.
struct ReferenceShot {
    const char* name;
    int frame;
    int left, top, width, height;
    int shrunkWidth, shrunkHeight;
    bool wholeFrame() const { return width == 800 && height == 600; }
};

constexpr ReferenceShot kShots[] = {
    {"motion_blur", 60, 0, 0, 800, 600, 100, 75},
    {"terrain", 150, 0, 0, 800, 600, 100, 75},
    {"meshes", 230, 0, 0, 800, 600, 100, 75},
    // The chain itself at half size, where a missing cube or sphere weighs enough to be seen.
    {"mesh_chain", 230, 320, 320, 320, 140, 160, 70},
    // The mouse was moved to (150, 150), over black: the arrow at full size, its tip at the point.
    {"cursor", 230, 142, 142, 48, 48, 48, 48},
};

std::filesystem::path ReferencePath(const std::string& name) {
    return std::filesystem::path(END_TO_END_SCRIPTS).parent_path() / "references" / (name + ".png");
}

FrameImage Shot(const FrameImage& frame, const ReferenceShot& shot) {
    return Shrunk(Region(frame, shot.left, shot.top, shot.width, shot.height), shot.shrunkWidth, shot.shrunkHeight);
}

bool UpdatingReferences() {
    const char* value = std::getenv("MORVATH_UPDATE_REFERENCES");
    return value != nullptr && *value != '\0' && std::string(value) != "0";
}

class ReferenceFrames : public ScriptedRun {};

TEST_F(ReferenceFrames, TheScenesAndTheCursorMatchTheirReferences) {
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 230, .script = "reference_scenes.txt", .captureFrames = "60,150,230"}));
    for (const ReferenceShot& shot : kShots) {
        SCOPED_TRACE(shot.name);
        FrameImage frame;
        const std::string error = ReadCapturedFrame(m_run, shot.frame, frame);
        ASSERT_TRUE(error.empty()) << error;
        ASSERT_EQ(frame.width, 800);
        ASSERT_EQ(frame.height, 600);
        const FrameImage image = Shot(frame, shot);
        if (UpdatingReferences()) {
            const std::string written = WritePngImage(ReferencePath(shot.name), image);
            EXPECT_TRUE(written.empty()) << written;
            continue;
        }
        FrameImage reference;
        const std::string read = ReadPngImage(ReferencePath(shot.name), reference);
        ASSERT_TRUE(read.empty()) << read << " (MORVATH_UPDATE_REFERENCES=1 writes it)";
        const FrameDifference difference = Compare(image, reference);
        EXPECT_TRUE(Close(difference)) << difference;
        if (!Close(difference)) WritePngImage(std::string("reference_") + shot.name + "_actual.png", image);
    }
    if (UpdatingReferences()) GTEST_SKIP() << "references written into " << ReferencePath("").parent_path();
}

// The tolerance is coarse but not blind: each reference is far from a black picture and from the
// other scenes, and close to itself with every channel a unit off.
TEST(ReferenceComparison, TellsBlackFramesAndOtherScenesApartButNotRounding) {
    std::vector<std::pair<std::string, FrameImage>> scenes;
    for (const ReferenceShot& shot : kShots) {
        FrameImage reference;
        const std::string read = ReadPngImage(ReferencePath(shot.name), reference);
        ASSERT_TRUE(read.empty()) << read;
        FrameImage black = reference;
        std::fill(black.rgb.begin(), black.rgb.end(), uint8_t{0});
        EXPECT_FALSE(Close(Compare(black, reference))) << shot.name << ": " << Compare(black, reference);
        // Alternately a unit up and a unit down, as far as the byte allows.
        FrameImage rounded = reference;
        for (size_t i = 0; i < rounded.rgb.size(); ++i) {
            uint8_t& value = rounded.rgb[i];
            if (i % 2 == 0 && value < 255)
                ++value;
            else if (i % 2 == 1 && value > 0)
                --value;
        }
        EXPECT_TRUE(Close(Compare(rounded, reference))) << shot.name << ": " << Compare(rounded, reference);
        if (shot.wholeFrame()) scenes.emplace_back(shot.name, reference);
    }
    for (size_t a = 0; a < scenes.size(); ++a)
        for (size_t b = a + 1; b < scenes.size(); ++b)
            EXPECT_FALSE(Close(Compare(scenes[a].second, scenes[b].second)))
                << scenes[a].first << " against " << scenes[b].first << ": "
                << Compare(scenes[a].second, scenes[b].second);
}

}  // namespace
