// The .cur reader with cursors made here, and the bitmaps GetIconInfo hands out for them.
#include "temp_folder.h"
#include "window_test_support.h"

namespace {

struct Writer {
    std::vector<uint8_t> bytes;
    void Byte(uint8_t b) { bytes.push_back(b); }
    void Word(uint16_t w) {
        Byte(static_cast<uint8_t>(w));
        Byte(static_cast<uint8_t>(w >> 8));
    }
    void Dword(uint32_t d) {
        Word(static_cast<uint16_t>(d));
        Word(static_cast<uint16_t>(d >> 16));
    }
};

// A cursor file with one image. pixel(x, y) gives the colour (palette index for <= 8 bits);
// andBit(x, y) the AND mask. Rows are written bottom-up as the format wants.
std::vector<uint8_t> MakeCursor(int width, int height, int bits, const std::vector<uint32_t>& palette,
                                const std::function<uint32_t(int, int)>& pixel,
                                const std::function<bool(int, int)>& andBit, int hotX, int hotY) {
    Writer image;
    image.Dword(40);
    image.Dword(static_cast<uint32_t>(width));
    image.Dword(static_cast<uint32_t>(height * 2));
    image.Word(1);
    image.Word(static_cast<uint16_t>(bits));
    for (int i = 0; i < 4; ++i) image.Dword(0);
    image.Dword(static_cast<uint32_t>(palette.size()));  // colours used
    image.Dword(0);
    for (uint32_t c : palette) image.Dword(c);
    const int xorStride = (width * bits + 31) / 32 * 4, andStride = (width + 31) / 32 * 4;
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(xorStride), 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, y);
            switch (bits) {
                case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = static_cast<uint8_t>(v); break;
                case 24: row[x * 3] = v & 0xFF; row[x * 3 + 1] = (v >> 8) & 0xFF; row[x * 3 + 2] = (v >> 16) & 0xFF; break;
                case 32: for (int k = 0; k < 4; ++k) row[x * 4 + k] = (v >> (8 * k)) & 0xFF; break;
            }
        }
        image.bytes.insert(image.bytes.end(), row.begin(), row.end());
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(andStride), 0);
        for (int x = 0; x < width; ++x)
            if (andBit(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        image.bytes.insert(image.bytes.end(), row.begin(), row.end());
    }
    Writer file;
    file.Word(0);
    file.Word(2);
    file.Word(1);
    file.Byte(static_cast<uint8_t>(width));
    file.Byte(static_cast<uint8_t>(height));
    file.Byte(0);
    file.Byte(0);
    file.Word(static_cast<uint16_t>(hotX));
    file.Word(static_cast<uint16_t>(hotY));
    file.Dword(static_cast<uint32_t>(image.bytes.size()));
    file.Dword(22);
    file.bytes.insert(file.bytes.end(), image.bytes.begin(), image.bytes.end());
    return file.bytes;
}

class CursorFiles : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        folder.AddFolder("Media");
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        return folder.AddFile(name, bytes).string();
    }
    // GetIconInfo's bitmap as 32-bit rows, top-down.
    static std::vector<uint32_t> Rows(HBITMAP bitmap, int& width, int& height) {
        BITMAP bm{};
        EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
        width = bm.bmWidth;
        height = bm.bmHeight;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;  // bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<uint32_t> buffer(static_cast<size_t>(width) * height);
        EXPECT_EQ(GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), buffer.data(), &info, DIB_RGB_COLORS), height);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        std::vector<uint32_t> topDown(buffer.size());
        for (int r = 0; r < height; ++r)
            std::copy_n(&buffer[static_cast<size_t>(r) * width], width, &topDown[static_cast<size_t>(height - 1 - r) * width]);
        return topDown;
    }
    test_support::TempFolder folder;
};

TEST_F(CursorFiles, AColourCursorKeepsItsPixelsMaskAndHotSpot) {
    auto pixel = [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 8) << 16 | static_cast<uint32_t>(y * 8); };
    auto andBit = [](int x, int y) { return x == y; };
    const std::string path = Write("Media/Colour.cur", MakeCursor(16, 12, 32, {}, pixel, andBit, 3, 5));
    // The program's spelling: another letter case and the platform's separator.
    HCURSOR cursor = LoadCursorFromFileA((folder.Path().string() + "\\media\\COLOUR.CUR").c_str());
    ASSERT_NE(cursor, nullptr) << path;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 5u);
    ASSERT_NE(info.hbmColor, nullptr);
    int w, h;
    const std::vector<uint32_t> mask = Rows(info.hbmMask, w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 12);
    const std::vector<uint32_t> color = Rows(info.hbmColor, w, h);
    EXPECT_EQ(h, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(mask[y * 16 + x] != 0, x == y) << x << "," << y;
            EXPECT_EQ(color[y * 16 + x], pixel(x, y)) << x << "," << y;
        }
    EXPECT_EQ(machine::control::LiveObjects("bitmap"), 2);
    EXPECT_TRUE(DeleteObject(info.hbmMask));
    EXPECT_TRUE(DeleteObject(info.hbmColor));
    EXPECT_EQ(machine::control::LiveObjects("bitmap"), 0);
    EXPECT_EQ(machine::control::LiveObjects("memory dc"), 0);
    EXPECT_EQ(machine::control::LiveObjects("screen dc"), 0);
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_FALSE(GetIconInfo(cursor, &info));
}

TEST_F(CursorFiles, AMonochromeCursorHasItsAndMaskAboveItsXorMask) {
    // Palette: 0 black, 1 white. XOR set on the left half, AND set on the top rows.
    auto pixel = [](int x, int) { return x < 16 ? 1u : 0u; };
    auto andBit = [](int, int y) { return y < 4; };
    const std::string path = Write("mono.cur", MakeCursor(32, 32, 1, {0x000000, 0xFFFFFF}, pixel, andBit, 0, 0));
    HCURSOR cursor = LoadCursorFromFileA(path.c_str());
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_EQ(info.hbmColor, nullptr);
    int w, h;
    const std::vector<uint32_t> mask = Rows(info.hbmMask, w, h);
    ASSERT_EQ(w, 32);
    ASSERT_EQ(h, 64);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            EXPECT_EQ(mask[y * 32 + x] != 0, y < 4);              // AND on top
            EXPECT_EQ(mask[(32 + y) * 32 + x] != 0, x < 16);      // XOR below
        }
    DeleteObject(info.hbmMask);
}

TEST_F(CursorFiles, PaletteCursorsOfFourAndEightBitsAndTwentyFourBits) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    for (int bits : {4, 8, 24}) {
        auto pixel = [&](int x, int) { return bits == 24 ? 0x123456u : static_cast<uint32_t>(x % 4); };
        const std::string path = Write("p" + std::to_string(bits) + ".cur",
                                       MakeCursor(8, 8, bits, bits == 24 ? std::vector<uint32_t>{} : palette, pixel,
                                                  [](int, int) { return false; }, 1, 1));
        HCURSOR cursor = LoadCursorFromFileA(path.c_str());
        ASSERT_NE(cursor, nullptr) << bits;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        int w, h;
        const std::vector<uint32_t> color = Rows(info.hbmColor, w, h);
        for (int x = 0; x < 8; ++x) EXPECT_EQ(color[x], bits == 24 ? 0x123456u : palette[x % 4]) << bits;
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
}

TEST_F(CursorFiles, MissingTruncatedAndGarbageFilesGiveNull) {
    EXPECT_EQ(LoadCursorFromFileA((folder.Path() / "absent.cur").string().c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(LoadCursorFromFileA(folder.Path().string().c_str()), nullptr);  // a folder
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    const std::vector<uint8_t> good = MakeCursor(16, 16, 32, {}, [](int, int) { return 0u; },
                                                 [](int, int) { return false; }, 0, 0);
    // Every cut of a good file is refused without reading past it (the sanitizer build checks that).
    for (size_t n = 0; n < good.size(); n += 7) {
        const std::string path = Write("cut.cur", std::vector<uint8_t>(good.begin(), good.begin() + n));
        EXPECT_EQ(LoadCursorFromFileA(path.c_str()), nullptr) << n;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << n;
    }
    struct Corruption {
        size_t offset;
        uint8_t value;
    };
    // Type 1 (an icon file), zero images, an image offset past the end, a bad bit count, compression,
    // an odd double height, a palette larger than the bit count allows.
    for (Corruption c : {Corruption{2, 1}, Corruption{4, 0}, Corruption{21, 0x7F}, Corruption{22 + 14, 7},
                         Corruption{22 + 16, 1}, Corruption{22 + 8, 31}, Corruption{22 + 32, 0xFF}}) {
        std::vector<uint8_t> bad = good;
        bad[c.offset] = c.value;
        if (c.offset == 22 + 32) bad[22 + 14] = 4;  // 4 bits, 255 palette entries
        const std::string path = Write("bad.cur", bad);
        EXPECT_EQ(LoadCursorFromFileA(path.c_str()), nullptr) << c.offset;
    }
    std::vector<uint8_t> garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
    EXPECT_EQ(LoadCursorFromFileA(Write("garbage.cur", garbage).c_str()), nullptr);
}

TEST_F(CursorFiles, SystemCursorAndCursorState) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_EQ(SetCursor(nullptr), arrow);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x4321)), nullptr);  // not a cursor: refused
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_TRUE(DestroyCursor(arrow));  // the system's own stays
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);

    RECT clip{100, 100, 200, 150};
    ClipCursor(&clip);
    SetCursorPos(500, 10);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 199);
    EXPECT_EQ(p.y, 100);
    RECT got;
    GetClipCursor(&got);
    EXPECT_EQ(got.left, 100);
    EXPECT_EQ(got.bottom, 150);
    ClipCursor(nullptr);
    GetClipCursor(&got);
    EXPECT_EQ(got.right, 1280);
    EXPECT_EQ(got.bottom, 1024);
}

TEST_F(CursorFiles, TheClassCursorIsSetOverTheClientArea) {
    const std::string path = Write("c.cur", MakeCursor(16, 16, 32, {}, [](int, int) { return 0u; },
                                                       [](int, int) { return false; }, 0, 0));
    WNDCLASSA wc{};
    wc.lpfnWndProc = test::LoggingProc;
    wc.lpszClassName = "Cursor Class";
    wc.hCursor = LoadCursorFromFileA(path.c_str());
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "Cursor Class", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 300, 300, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(DefWindowProcA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), wc.hCursor);
}

}  // namespace
