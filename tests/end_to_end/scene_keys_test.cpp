// The scene keys: F12 the meshes, F9 the motion blur, F11 the terrain. They are tested in that
// order on every frame, so when several are held in one frame the last one tested wins: F11 over
// both others, F9 over F12. The scene a run ended in is read from the draws of its last frame.
#include <fstream>

#include "scripted_run.h"
#include "temp_folder.h"

namespace {

// The scene drawn in the last presented frame, told by the vertex formats of its draws.
std::string LastScene(const JsonValue& report) {
    const JsonValue* calls = report.Find("draw_calls");
    const JsonValue* last = calls ? calls->Find("last_frame") : nullptr;
    if (last == nullptr) return "(no draws reported)";
    size_t squares = 0, terrain = 0, meshes = 0;
    for (const JsonValue& draw : last->items) {
        const JsonValue* fvf = draw.Find("fvf");
        if (fvf == nullptr) continue;
        squares += fvf->text == "0x152";
        terrain += fvf->text == "0x252";
        meshes += fvf->text == "0x012";
    }
    if (squares == 250 && terrain == 0 && meshes == 0) return "motion blur";
    if (squares == 0 && terrain > 0 && meshes == 0) return "terrain";
    if (squares == 0 && terrain == 0 && meshes > 0) return "meshes";
    return "(" + std::to_string(squares) + " square, " + std::to_string(terrain) + " terrain and " +
           std::to_string(meshes) + " mesh draws)";
}

struct SceneKeys {
    const char* name;
    const char* before;             // a key pressed first, to leave the starting scene; may be empty
    std::vector<const char*> held;  // pressed together in one frame and held to the end
    const char* scene;
};

void PrintTo(const SceneKeys& keys, std::ostream* out) { *out << keys.name; }

class SceneKeyPrecedence : public ScriptedRun, public ::testing::WithParamInterface<SceneKeys> {
protected:
    test_support::TempFolder m_scripts;
};

TEST_P(SceneKeyPrecedence, TheLastKeyTestedWins) {
    const SceneKeys& keys = GetParam();
    std::string script;
    if (*keys.before != '\0') script += std::string("5 key ") + keys.before + " press\n";
    for (const char* key : keys.held) script += std::string("10 key ") + key + " down\n";
    const std::filesystem::path path = m_scripts.Path() / "scene_keys.txt";
    std::ofstream(path) << script;
    ASSERT_NO_FATAL_FAILURE(Run({.frames = 20, .extra = {{"MORVATH_INPUT", path.string()}}}));
    EXPECT_EQ(LastScene(Report()), keys.scene) << script;
}

INSTANTIATE_TEST_SUITE_P(Held, SceneKeyPrecedence,
                         ::testing::Values(SceneKeys{"F12Alone", "", {"F12"}, "meshes"},
                                           SceneKeys{"F9AndF11", "", {"F9", "F11"}, "terrain"},
                                           SceneKeys{"F11AndF9", "F12", {"F11", "F9"}, "terrain"},
                                           SceneKeys{"F12AndF11", "", {"F12", "F11"}, "terrain"},
                                           SceneKeys{"F12AndF9", "F11", {"F12", "F9"}, "motion blur"},
                                           SceneKeys{"AllThree", "F12", {"F9", "F12", "F11"}, "terrain"}),
                         [](const ::testing::TestParamInfo<SceneKeys>& info) { return std::string(info.param.name); });

}  // namespace
