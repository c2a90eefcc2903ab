// A fixture for GDI text tests: a fresh machine, a memory context and helpers to make DIB sections,
// fonts and to read back pixels.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "machine/machine.h"
#include "windows.h"

namespace test {

struct Dib {
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;
    bool bottomUp = false;
    // The pixel at image row y (from the top), read through the caller's bits pointer.
    uint32_t At(int x, int y) const {
        return bits[static_cast<size_t>(bottomUp ? height - 1 - y : y) * width + x];
    }
};

class GdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        dc_ = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc_, nullptr);
    }
    void TearDown() override {
        if (dc_ != nullptr) {
            if (oldBitmap_) SelectObject(dc_, oldBitmap_);
            if (oldFont_) SelectObject(dc_, oldFont_);
            DeleteDC(dc_);
        }
        for (HGDIOBJ object : owned_) DeleteObject(object);
        machine::control::Reset();
    }

    static Dib MakeDib(int width, int height, bool bottomUp = false) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = bottomUp ? height : -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        Dib dib;
        void* bits = nullptr;
        dib.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dib.bits = static_cast<uint32_t*>(bits);
        dib.width = width;
        dib.height = height;
        dib.bottomUp = bottomUp;
        return dib;
    }

    // Selects a new DIB section into the context (white text on black, as the glyph texture is made).
    Dib UseDib(int width, int height, bool bottomUp = false) {
        Dib dib = MakeDib(width, height, bottomUp);
        EXPECT_NE(dib.bitmap, nullptr);
        HGDIOBJ previous = SelectObject(dc_, dib.bitmap);
        if (!oldBitmap_) oldBitmap_ = previous;
        owned_.push_back(dib.bitmap);
        SetTextColor(dc_, RGB(255, 255, 255));
        SetBkColor(dc_, RGB(0, 0, 0));
        return dib;
    }

    HFONT UseFont(int height, int weight = FW_NORMAL, const char* face = "DejaVu Sans",
                  DWORD quality = ANTIALIASED_QUALITY, bool italic = false, bool underline = false,
                  bool strikeOut = false) {
        HFONT font = CreateFontA(height, 0, 0, 0, weight, italic, underline, strikeOut, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, VARIABLE_PITCH, face);
        EXPECT_NE(font, nullptr);
        HGDIOBJ previous = SelectObject(dc_, font);
        if (!oldFont_) oldFont_ = previous;
        owned_.push_back(font);
        return font;
    }

    SIZE Extent(const std::string& text) const {
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size));
        return size;
    }

    HDC dc_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr, oldFont_ = nullptr;
    std::vector<HGDIOBJ> owned_;
};

// The bounding box of the pixels whose blue byte is not zero; empty (right <= left) when there are none.
inline RECT Ink(const Dib& dib) {
    RECT box{dib.width, dib.height, 0, 0};
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x)
            if (dib.At(x, y) & 0xFF) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

// A path next to the test program (in the build folder, wherever the program is started from).
inline std::string OutputPath(const std::string& name) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? name : (program.parent_path() / name).string();
}

}  // namespace test
