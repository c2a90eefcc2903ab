// Writes the fuzz targets' seeds into the folder given (tests/fuzz/corpus): the program's own
// resources and media from the builders that make them, texture files of each kind the loader reads,
// input scripts of every event, and RIFF/WAVE sounds of each layout the reader meets.
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz_parts.h"
#include "media_file.h"
#include "mesh_media.h"
#include "blank_cursor.h"
#include "resource_builders.h"
#include "support/image_builders.h"

namespace {

using fuzz::Bytes;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::vector<std::pair<std::string, Bytes>> TextureSeeds() {
    std::vector<std::pair<std::string, Bytes>> seeds;
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        test::BmpSpec s;
        s.width = 5;
        s.height = 3;
        s.bits = bits;
        s.topDown = bits == 8;
        if (bits <= 8) s.palette.assign(size_t(1) << bits, 0x00336699);
        for (uint32_t i = 0; i < 15; ++i) s.texels.push_back(bits <= 8 ? i % (1u << std::min<int>(bits, 4)) : i * 0x010203);
        seeds.emplace_back("bmp" + std::to_string(bits), test::MakeBmp(s));
    }
    test::BmpSpec masked;  // 16 bits by masks (R5G6B5), and 32 bits with alpha in a 108-byte header
    masked.width = masked.height = 2;
    masked.bits = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.texels = {0xF800, 0x07E0, 0x001F, 0xFFFF};
    seeds.emplace_back("bmp16_565", test::MakeBmp(masked));
    masked.bits = 32;
    masked.headerSize = 108;
    masked.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    masked.texels = {0x80FF0000, 0xFF00FF00, 0x400000FF, 0xFFFFFFFF};
    seeds.emplace_back("bmp32_alpha", test::MakeBmp(masked));

    test::DdsSpec plain;  // 4 x 4 with its whole chain
    plain.mipCount = 3;
    plain.data.assign((16 + 4 + 1) * 4, 0x5A);
    seeds.emplace_back("dds_argb_mips", test::MakeDds(plain));
    test::DdsSpec wide;
    wide.bitCount = 16;
    wide.alphaPixels = false;
    wide.masks[0] = 0xF800;
    wide.masks[1] = 0x07E0;
    wide.masks[2] = 0x001F;
    wide.masks[3] = 0;
    wide.data.assign(4 * 4 * 2, 0xA5);
    seeds.emplace_back("dds_r5g6b5", test::MakeDds(wide));
    for (const char* code : {"DXT1", "DXT3", "DXT5"}) {
        test::DdsSpec s;
        s.width = 8;
        s.height = 4;
        s.fourCC = test::FourCC(code);
        s.data.assign(code[3] == '1' ? 16 : 32, 0x3C);
        seeds.emplace_back(std::string("dds_") + code, test::MakeDds(s));
    }
    return seeds;
}

// A cursor file around the program's icon image: one entry with a hot spot, the image after it.
Bytes IconImageAsCursorFile() {
    const Bytes& image = MainIconImage();
    MediaBytes out;
    out.Word(0);
    out.Word(2);
    out.Word(1);
    out.Byte(32);
    out.Byte(32);
    out.Byte(0);
    out.Byte(0);
    out.Word(3);
    out.Word(5);
    out.Dword(uint32_t(image.size()));
    out.Dword(6 + 16);
    Bytes bytes = out.Bytes();
    bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

XMesh TexturedMesh() {
    XMesh mesh = CubeMesh();
    mesh.name = "Textured";
    mesh.materials.resize(2);
    mesh.materials[0].texture = "media/wall.bmp";
    mesh.materials[1].power = 12;
    mesh.faceMaterials.assign(mesh.faces.size(), 0);
    mesh.faceMaterials[1] = 1;
    return mesh;
}

// Frames, a transform, templates of the file's own, a reference by name and one by GUID.
const char kFramesFile[] =
    "xof 0303txt 0032\n"
    "template Extra { <0A0B0C0D-0102-0304-0506-070809101112> DWORD count; array FLOAT values[count]; "
    "STRING label; [...] }\n"
    "Frame Root {\n"
    "  FrameTransformMatrix { 1.0,0,0,0, 0,1,0,0, 0,0,1,0, 5,6,7,1;; }\n"
    "  Mesh Tri <01020304-0506-0708-090A-0B0C0D0E0F10> {\n"
    "    3; 0;0;0;, 1;0;0;, 0;1;0;;\n"
    "    1; 3;0,1,2;;\n"
    "    MeshMaterialList { 1; 1; 0;; { Red } }\n"
    "    MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; }\n"
    "    MeshTextureCoords { 3; 0;0;, 1;0;, 0;1;; }\n"
    "  }\n"
    "  Frame Child { Extra { 2; 1.5, -2.0; \"two\"; { Tri } { <01020304-0506-0708-090A-0B0C0D0E0F10> } } }\n"
    "}\n"
    "Material Red { 1;0;0;1;; 5.0; 0;0;0;; 0;0;0;; TextureFilename { \"red.bmp\"; } }\n";

// A RIFF/WAVE image from its chunks: "RIFF", the size of what follows, "WAVE", then each chunk as its
// id, its size and its bytes, padded to an even length.
Bytes RiffWave(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    MediaBytes body;
    for (const auto& [id, bytes] : chunks) {
        for (char c : id) body.Byte(uint8_t(c));
        body.Dword(uint32_t(bytes.size()));
        for (uint8_t b : bytes) body.Byte(b);
        if (bytes.size() % 2) body.Byte(0);
    }
    MediaBytes out;
    for (char c : std::string("RIFF")) out.Byte(uint8_t(c));
    out.Dword(uint32_t(4 + body.Bytes().size()));
    for (char c : std::string("WAVE")) out.Byte(uint8_t(c));
    Bytes bytes = out.Bytes();
    bytes.insert(bytes.end(), body.Bytes().begin(), body.Bytes().end());
    return bytes;
}

// A format record: PCM when extra is empty (16 bytes), otherwise the whole record and its extra bytes.
Bytes WaveFormat(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& extra = {},
                 bool withSize = false) {
    MediaBytes f;
    const uint16_t align = uint16_t(channels * bits / 8);
    f.Word(tag);
    f.Word(channels);
    f.Dword(rate);
    f.Dword(rate * align);
    f.Word(align);
    f.Word(bits);
    if (withSize || !extra.empty()) f.Word(uint16_t(extra.size()));
    for (uint8_t b : extra) f.Byte(b);
    return f.Bytes();
}

Bytes Samples(size_t count, uint8_t seed) {
    Bytes samples(count);
    for (size_t i = 0; i < count; ++i) samples[i] = uint8_t(seed + i * 37);
    return samples;
}

// The wave seeds: options byte, the memory image's format, the wave bytes.
std::vector<std::pair<std::string, Bytes>> WaveSeeds() {
    const Bytes mono16 = WaveFormat(1, 1, 11025, 16, {}, true);
    const Bytes stereo8 = WaveFormat(1, 2, 22050, 8, {}, true);
    std::vector<std::pair<std::string, Bytes>> waves = {
        {"bounce", BounceSound()},
        {"mono16", RiffWave({{"fmt ", WaveFormat(1, 1, 11025, 16)}, {"data", Samples(200, 1)}})},
        {"stereo8", RiffWave({{"fmt ", WaveFormat(1, 2, 22050, 8)}, {"data", Samples(301, 2)}})},
        // A format with extra bytes, a fact chunk and a list before the data.
        {"extensible", RiffWave({{"fmt ", WaveFormat(0xFFFE, 2, 44100, 16, Bytes(22, 0x11))},
                                 {"fact", {100, 0, 0, 0}},
                                 {"LIST", {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 0, 0}},
                                 {"data", Samples(400, 3)}})},
        {"format_record", RiffWave({{"fmt ", WaveFormat(1, 1, 8000, 8, {}, true)}, {"data", Samples(64, 4)}})},
        {"empty_data", RiffWave({{"fmt ", WaveFormat(1, 1, 22050, 16)}, {"data", {}}})},
    };
    std::vector<std::pair<std::string, Bytes>> seeds;
    uint8_t options = 0;
    for (const auto& [name, wave] : waves) {
        const Bytes& format = options % 2 ? stereo8 : mono16;
        seeds.emplace_back(name, fuzz::JoinParts({{options}, format, wave}));
        options = uint8_t(options * 5 + 0x29);
    }
    return seeds;
}

const char kEveryEventScript[] =
    "# every kind of event\n"
    "1 key F2 press\n"
    "2 key MENU down\n"
    "2 key RETURN press\n"
    "3 key VK_MENU up\n"
    "4 mouse move 100 200\n"
    "5 mouse button left down\n"
    "5 mouse button left up\n"
    "6 mouse button right down\n"
    "6 mouse button middle up\n"
    "7 mouse wheel -120\n"
    "8 window resize 640 480\n"
    "9 window minimize\n"
    "10 window restore\n"
    "11 window maximize\n"
    "12 device lose\n"
    "14 device restore\n"
    "15 dialog select 1008 D3DFMT_D24S8\n"
    "15 dialog click 1\n"
    "15 dialog key escape\n"
    "20 window close\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_corpus <corpus folder>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    bool ok = true;
    auto seed = [&](const std::string& target, const std::string& name, const Bytes& bytes) {
        ok = WriteMediaFile(root, target + "/" + name, bytes) && ok;
    };
    for (const auto& [name, bytes] : TextureSeeds()) seed("texture_file", name, bytes);
    seed("cursor_file", "blank.cur", BlankCursorFile());
    seed("cursor_file", "icon_image.cur", IconImageAsCursorFile());
    seed("icon_resource", "main_icon", fuzz::JoinParts({MainIconGroup(), MainIconImage()}));
    seed("menu_resource", "main_menu", MainMenuTemplate());
    seed("accelerator_resource", "accelerators", AcceleratorTable());
    seed("dialog_resource", "settings_dialog", SettingsDialogTemplate());
    for (const char* target : {"xfile_parser", "mesh_file"}) {
        seed(target, "cube.x", CubeFile());
        seed(target, "sphere.x", SphereFile());
        seed(target, "textured.x", Text(XFileText(TexturedMesh())));
        seed(target, "frames.x", Text(kFramesFile));
    }
    for (const auto& [name, bytes] : WaveSeeds()) seed("wave_file", name, bytes);
    seed("input_script", "every_event.txt", Text(kEveryEventScript));
    seed("input_script", "storm.txt",
         Text("1 window resize 320 200\n2 key MENU down\n2 key RETURN press\n3 key MENU up\n4 device lose\n"
              "6 device restore\n7 window resize 1 1\n8 mouse move -5 9000\n"));
    return ok ? 0 : 1;
}
