// Every scene object comes back after a device change: a new device chosen in the settings dialog
// (another depth format, or full screen at another resolution), Alt+Enter there and back, and a lost
// device restored. For each scene, a run with the change ends with the same draws (primitives,
// vertex formats, textures and their formats) as the same run without it, and its last frame is
// close to that run's. Two pictures differ for reasons of their own and are not compared: a new
// device places the motion-blur squares afresh, and the time a lost device takes to come back turns
// the cubes further (the scene clock runs on while the device is lost; the dialog stops it).
#include <fstream>
#include <sstream>

#include "frame_compare.h"
#include "scripted_run.h"
#include "temp_folder.h"

namespace {

struct DeviceChange {
    const char* name;
    const char* lines;  // the change, from frame 10
    double creations, resets;
    const char* movedScene;  // the scene whose picture is not compared
    int width, height;       // of the last frame
};

constexpr DeviceChange kChanges[] = {
    {"SettingsDepthFormat", "10 key F2 press\n10 dialog select 1008 D3DFMT_D24S8\n10 dialog key enter\n", 2, 0,
     "MotionBlur", 800, 600},
    {"SettingsFullScreen",
     "10 key F2 press\n10 dialog click 1018\n10 dialog select 1004 1024 by 768\n10 dialog key enter\n", 2, 0,
     "MotionBlur", 1024, 768},
    {"AltEnterAndBack",
     "10 key MENU down\n10 key RETURN press\n10 key MENU up\n16 key MENU down\n16 key RETURN press\n16 key MENU up\n",
     1, 2, "", 800, 600},
    {"LostAndRestored", "10 device lose\n16 device restore\n", 1, 1, "Meshes", 800, 600},
};

struct Scene {
    const char* name;
    const char* lines;  // how the scene is reached: before the change, and again after it
};

constexpr Scene kScenes[] = {
    {"MotionBlur", ""},
    {"Terrain", "key F11 press\n+2 key HOME press\n+3 mouse wheel 600\n"},
    {"Meshes", "key F12 press\n+2 key HOME press\n+3 key S down\n+13 key S up\n"},
};

void PrintTo(const DeviceChange& change, std::ostream* out) { *out << change.name; }
void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }

// The scene's lines at frame `at`; "+n" lines come n frames later.
std::string SceneLines(const Scene& scene, int at) {
    std::istringstream in(scene.lines);
    std::string line, out;
    while (std::getline(in, line)) {
        int frame = at;
        if (line[0] == '+') {
            const size_t blank = line.find(' ');
            frame += std::stoi(line.substr(1, blank - 1));
            line = line.substr(blank + 1);
        }
        out += std::to_string(frame) + " " + line + "\n";
    }
    return out;
}

// The last frame's draws, one line each. The frame ends with the eight HUD lines, the first of them
// the frame statistics, whose length follows the time the frames took: its primitives are left out.
std::vector<std::string> LastDraws(const JsonValue& report) {
    std::vector<std::string> draws;
    const JsonValue* calls = report.Find("draw_calls");
    const JsonValue* last = calls ? calls->Find("last_frame") : nullptr;
    if (last == nullptr) return draws;
    const size_t statistics = last->items.size() >= 8 ? last->items.size() - 8 : last->items.size();
    for (const JsonValue& draw : last->items) {
        std::string text;
        for (const char* field : {"type", "fvf"})
            if (const JsonValue* value = draw.Find(field)) text += value->text + " ";
        const bool timed = draws.size() == statistics;
        text += (timed ? std::string("*") : std::to_string(static_cast<long>(NumberIn(draw, "primitives")))) + " [";
        if (const JsonValue* textures = draw.Find("textures"))
            for (const JsonValue& texture : textures->items)
                text += (texture.kind == JsonValue::Kind::String ? texture.text : "none") + ";";
        draws.push_back(text + "]");
    }
    return draws;
}

class DeviceChangeRestores : public ScriptedRun, public ::testing::WithParamInterface<std::tuple<DeviceChange, Scene>> {
protected:
    void RunScript(ShowcaseRun& run, const std::string& script, const std::string& name) {
        const std::filesystem::path path = m_scripts.Path() / (name + ".txt");
        std::ofstream(path) << script;
        ASSERT_NO_FATAL_FAILURE(Run(run, {.frames = kFrames,
                                          .captureFrames = std::to_string(kFrames),
                                          .extra = {{"MORVATH_INPUT", path.string()}}}));
    }

    static constexpr int kFrames = 45;
    test_support::TempFolder m_scripts;
};

TEST_P(DeviceChangeRestores, EverySceneObject) {
    const auto& [change, scene] = GetParam();
    // The scene is reached at frame 2, and again at frame 25 once the change is over.
    const std::string plainScript = SceneLines(scene, 2) + SceneLines(scene, 25);
    ShowcaseRun plain;
    ASSERT_NO_FATAL_FAILURE(RunScript(plain, plainScript, "plain"));
    ASSERT_NO_FATAL_FAILURE(RunScript(m_run, change.lines + plainScript, "changed"));

    EXPECT_EQ(Count("device_creations"), change.creations);
    EXPECT_EQ(Count("device_resets"), change.resets);
    EXPECT_EQ(NumberIn(plain.report, "device_creations"), 1.0);
    const std::vector<std::string> draws = LastDraws(Report());
    EXPECT_FALSE(draws.empty());
    EXPECT_EQ(draws, LastDraws(plain.report));

    FrameImage before, after;
    std::string error = ReadCapturedFrame(plain, kFrames, before);
    ASSERT_TRUE(error.empty()) << error;
    error = ReadCapturedFrame(m_run, kFrames, after);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(after.width, change.width);
    EXPECT_EQ(after.height, change.height);
    if (std::string(scene.name) == change.movedScene) return;
    const FrameDifference difference = Compare(Shrunk(after, 100, 75), Shrunk(before, 100, 75));
    EXPECT_TRUE(Close(difference)) << difference;
}

INSTANTIATE_TEST_SUITE_P(Changes, DeviceChangeRestores,
                         ::testing::Combine(::testing::ValuesIn(kChanges), ::testing::ValuesIn(kScenes)),
                         [](const ::testing::TestParamInfo<std::tuple<DeviceChange, Scene>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

}  // namespace
