#include "showcase_run.h"

#include <fstream>
#include <png.h>
#include <sstream>

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> NamesWithBackslash(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find('\\') != std::string::npos) names.push_back(name);
    }
    return names;
}

double NumberIn(const JsonValue& object, const char* name) {
    const JsonValue* value = object.Find(name);
    return value != nullptr && value->kind == JsonValue::Kind::Number ? value->number : -1.0;
}

size_t DrawsWithFormat(const JsonValue& report, const std::string& fvf) {
    const JsonValue* calls = report.Find("draw_calls");
    const JsonValue* last = calls ? calls->Find("last_frame") : nullptr;
    if (last == nullptr) return 0;
    size_t count = 0;
    for (const JsonValue& draw : last->items)
        if (draw.Find("fvf") && draw.Find("fvf")->text == fvf) ++count;
    return count;
}

void RunShowcase(ShowcaseRun& run, const ShowcaseOptions& options) {
    const std::filesystem::path scratch = run.scratch.Path();
    if (scratch.empty()) {
        run.failure = "no scratch folder";
        return;
    }
    run.runFolder = scratch / "run";
    std::filesystem::create_directory(run.runFolder);
    ProgramRun media{MAKE_MEDIA_PROGRAM, {run.runFolder.string()}, scratch, {}, scratch / "make_media.out"};
    if (RunProgram(media) != 0) {
        run.failure = "make_media failed: " + ReadFile(media.outputFile);
        return;
    }
    if (options.prepare) options.prepare(run.runFolder);
    // Only what the test asks for: settings of the caller's environment do not leak in.
    std::vector<std::pair<std::string, std::string>> environment = {
        {"MORVATH_MACHINE", "headless"},       {"MORVATH_FRAMES", std::to_string(options.frames)},
        {"MORVATH_REPORT", (scratch / "report.json").string()},
        {"MORVATH_CLOCK", ""},                 {"MORVATH_DIRECT3D", ""},
        {"MORVATH_INPUT", ""},                 {"MORVATH_CAPTURE", ""},
        {"MORVATH_CAPTURE_FRAMES", ""},
    };
    auto set = [&environment](const std::string& name, const std::string& value) {
        for (auto& entry : environment) {
            if (entry.first == name) {
                entry.second = value;
                return;
            }
        }
        environment.emplace_back(name, value);
    };
    if (!options.script.empty()) {
        const std::filesystem::path script = std::filesystem::path(END_TO_END_SCRIPTS) / options.script;
        if (!std::filesystem::is_regular_file(script)) {
            run.failure = "no input script " + script.string();
            return;
        }
        set("MORVATH_INPUT", script.string());
    }
    if (!options.captureFrames.empty()) {
        run.captureFolder = scratch / "frames";
        std::filesystem::create_directory(run.captureFolder);
        set("MORVATH_CAPTURE", run.captureFolder.string());
        set("MORVATH_CAPTURE_FRAMES", options.captureFrames);
    }
    for (const auto& [name, value] : options.extra) set(name, value);
    ProgramRun program{MORVATH_PROGRAM, {}, run.runFolder, environment, scratch / "program.out"};
    run.status = RunProgram(program, &run.peakKilobytes);
    run.output = ReadFile(program.outputFile);
    std::optional<JsonValue> report = ParseJson(ReadFile(scratch / "report.json"));
    run.reportRead = report.has_value();
    if (report) run.report = std::move(*report);
}

void RunShowcase(ShowcaseRun& run, int frames, const std::vector<std::pair<std::string, std::string>>& extra) {
    ShowcaseOptions options;
    options.frames = frames;
    options.extra = extra;
    RunShowcase(run, options);
}

namespace {
std::string TextIn(const JsonValue& object, const char* name) {
    const JsonValue* value = object.Find(name);
    return value != nullptr && value->kind == JsonValue::Kind::String ? value->text : std::string("(missing)");
}
bool TrueIn(const JsonValue& object, const char* name) {
    const JsonValue* value = object.Find(name);
    return value != nullptr && value->kind == JsonValue::Kind::Boolean && value->boolean;
}
}  // namespace

ReportedDevice DeviceIn(const JsonValue& report) {
    ReportedDevice device;
    const JsonValue* d = report.Find("device");
    if (d == nullptr || d->kind != JsonValue::Kind::Object) return device;
    device.present = true;
    device.type = TextIn(*d, "type");
    device.windowed = TrueIn(*d, "windowed");
    device.adapter = static_cast<int>(NumberIn(*d, "adapter"));
    device.width = static_cast<int>(NumberIn(*d, "width"));
    device.height = static_cast<int>(NumberIn(*d, "height"));
    device.format = TextIn(*d, "format");
    device.depthFormat = TextIn(*d, "depth_format");
    device.presentInterval = TextIn(*d, "present_interval");
    return device;
}

std::ostream& operator<<(std::ostream& out, const ReportedDevice& d) {
    if (!d.present) return out << "(no device)";
    return out << d.type << (d.windowed ? " windowed" : " full screen") << " adapter " << d.adapter << " " << d.width
               << " x " << d.height << " " << d.format << " depth " << d.depthFormat << " interval "
               << d.presentInterval;
}

ReportedWindow MainWindowIn(const JsonValue& report) {
    ReportedWindow window;
    const JsonValue* w = report.Find("main_window");
    if (w == nullptr || w->kind != JsonValue::Kind::Object) return window;
    window.present = true;
    if (const JsonValue* rect = w->Find("rect"))
        for (const JsonValue& item : rect->items) window.rect.push_back(static_cast<int>(item.number));
    window.clientWidth = static_cast<int>(NumberIn(*w, "client_width"));
    window.clientHeight = static_cast<int>(NumberIn(*w, "client_height"));
    window.style = NumberIn(*w, "style");
    window.menuBar = TrueIn(*w, "menu_bar");
    return window;
}

std::ostream& operator<<(std::ostream& out, const ReportedWindow& w) {
    if (!w.present) return out << "(no main window)";
    out << "rect";
    for (int value : w.rect) out << " " << value;
    return out << ", client " << w.clientWidth << " x " << w.clientHeight << ", style " << std::hex
               << static_cast<uint64_t>(w.style) << std::dec << (w.menuBar ? ", menu bar" : ", no menu bar");
}

size_t FrameImage::NonBlackPixels() const {
    size_t count = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (rgb[i] != 0 || rgb[i + 1] != 0 || rgb[i + 2] != 0) ++count;
    return count;
}

std::string ReadCapturedFrame(const ShowcaseRun& run, int frame, FrameImage& image) {
    if (run.captureFolder.empty()) return "the run captured no frames";
    return ReadPngImage(run.captureFolder / ("frame_" + std::to_string(frame) + ".png"), image);
}

std::string ReadPngImage(const std::filesystem::path& path, FrameImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return path.string() + ": " + png.message;
    png.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.rgb.assign(PNG_IMAGE_SIZE(png), 0);
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
        const std::string error = path.string() + ": " + png.message;
        png_image_free(&png);
        return error;
    }
    return {};
}
