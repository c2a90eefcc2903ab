#include <limits>

#include "gdi_test_support.h"

namespace {

class DibSections : public test::GdiTest {};

TEST_F(DibSections, PixelsStartZeroAndAreSharedWithTheBitmap) {
    for (bool bottomUp : {false, true}) {
        test::Dib dib = MakeDib(5, 3, bottomUp);
        ASSERT_NE(dib.bitmap, nullptr);
        ASSERT_NE(dib.bits, nullptr);
        for (int i = 0; i < 15; ++i) EXPECT_EQ(dib.bits[i], 0u);
        BITMAP bm{};
        ASSERT_EQ(GetObjectA(dib.bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidth, 5);
        EXPECT_EQ(bm.bmHeight, 3);
        EXPECT_EQ(bm.bmWidthBytes, 20);
        EXPECT_EQ(bm.bmBitsPixel, 32);
        // Written through the pointer, read back top-down through GetDIBits.
        dib.bits[0] = 0x00112233;  // the first row in memory: the top, or the bottom of a bottom-up one
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 5;
        info.bmiHeader.biHeight = -3;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        uint32_t rows[15] = {};
        ASSERT_EQ(GetDIBits(dc_, dib.bitmap, 0, 3, rows, &info, DIB_RGB_COLORS), 3);
        EXPECT_EQ(rows[bottomUp ? 10 : 0], 0x00112233u);
        EXPECT_TRUE(DeleteObject(dib.bitmap));
    }
    EXPECT_EQ(machine::control::LiveObjects("bitmap"), 0);
}

TEST_F(DibSections, UnsupportedFormatsAreRefused) {
    BITMAPINFO good{};
    good.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    struct Case {
        const char* what;
        void (*change)(BITMAPINFOHEADER&);
    };
    const Case cases[] = {
        {"24 bits", [](BITMAPINFOHEADER& h) { h.biBitCount = 24; }},
        {"no height", [](BITMAPINFOHEADER& h) { h.biHeight = 0; }},
        {"most negative height", [](BITMAPINFOHEADER& h) { h.biHeight = std::numeric_limits<LONG>::min(); }},
        {"negative width", [](BITMAPINFOHEADER& h) { h.biWidth = -4; }},
        {"bit fields", [](BITMAPINFOHEADER& h) { h.biCompression = BI_BITFIELDS; }},
        {"short header", [](BITMAPINFOHEADER& h) { h.biSize = 12; }},
        {"huge", [](BITMAPINFOHEADER& h) { h.biWidth = h.biHeight = 1 << 30; }},
    };
    for (const Case& c : cases) {
        BITMAPINFO info = good;
        c.change(info.bmiHeader);
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << c.what;
        EXPECT_EQ(bits, nullptr) << c.what;
    }
    void* bits = nullptr;
    EXPECT_EQ(CreateDIBSection(dc_, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(dc_, &good, DIB_RGB_COLORS, &bits, reinterpret_cast<HANDLE>(4), 0), nullptr);
    HBITMAP ok = CreateDIBSection(dc_, &good, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(ok, nullptr);
    EXPECT_NE(bits, nullptr);
    DeleteObject(ok);
}

}  // namespace
