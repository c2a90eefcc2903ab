// Icon 101: a 32 x 32 picture of a green hill under an evening sky with a pale moon, on a rounded
// square. Stored as the platform stores icons in a program: a group entry naming one image, and the
// image as a bitmap header of double height, 32-bit colour rows and a 1-bit AND mask, bottom-up.
#include <cmath>

#include "resource_builders.h"
#include "resource_writer.h"

namespace {

constexpr int kSize = 32;
constexpr uint32_t kColourBytes = kSize * kSize * 4;
constexpr uint32_t kMaskBytes = kSize * 4;  // 32 bits a row, already a multiple of 4 bytes
constexpr uint32_t kImageBytes = 40 + kColourBytes + kMaskBytes;

struct Pixel {
    uint8_t b, g, r, a;
};

bool InsideRoundedSquare(int x, int y) {
    const int radius = 6;
    const int cx = x < radius ? radius : (x > kSize - 1 - radius ? kSize - 1 - radius : x);
    const int cy = y < radius ? radius : (y > kSize - 1 - radius ? kSize - 1 - radius : y);
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= radius * radius;
}

// x, y from the top-left corner.
Pixel PixelAt(int x, int y) {
    if (!InsideRoundedSquare(x, y)) return {0, 0, 0, 0};
    const double hill = 20.0 + 4.0 * std::sin(x * 0.25) + 2.0 * std::cos(x * 0.55);
    if (y >= hill) {
        const int shade = 150 - (y - static_cast<int>(hill)) * 6;
        return {40, static_cast<uint8_t>(shade < 60 ? 60 : shade), 30, 255};
    }
    const int mx = x - 22, my = y - 9;
    if (mx * mx + my * my <= 16) return {200, 240, 250, 255};
    const uint8_t blue = static_cast<uint8_t>(120 + y * 4);
    return {blue, static_cast<uint8_t>(40 + y * 3), static_cast<uint8_t>(30 + y * 2), 255};
}

std::vector<uint8_t> BuildImage() {
    ResourceWriter out;
    out.Dword(40);
    out.Dword(kSize);
    out.Dword(kSize * 2);  // colour rows and mask rows together
    out.Word(1);
    out.Word(32);
    out.Dword(0);          // uncompressed
    out.Dword(kColourBytes + kMaskBytes);
    out.Dword(0);
    out.Dword(0);
    out.Dword(0);
    out.Dword(0);
    for (int row = kSize - 1; row >= 0; --row) {
        for (int x = 0; x < kSize; ++x) {
            const Pixel p = PixelAt(x, row);
            out.Byte(p.b);
            out.Byte(p.g);
            out.Byte(p.r);
            out.Byte(p.a);
        }
    }
    for (int row = kSize - 1; row >= 0; --row) {
        for (int byte = 0; byte < kSize / 8; ++byte) {
            uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (PixelAt(byte * 8 + bit, row).a == 0) bits |= static_cast<uint8_t>(0x80 >> bit);
            }
            out.Byte(bits);
        }
    }
    return out.Take();
}

std::vector<uint8_t> BuildGroup() {
    ResourceWriter out;
    out.Word(0);   // reserved
    out.Word(1);   // icons
    out.Word(1);   // one image
    out.Byte(kSize);
    out.Byte(kSize);
    out.Byte(0);   // no palette
    out.Byte(0);
    out.Word(1);   // planes
    out.Word(32);  // bits per pixel
    out.Dword(kImageBytes);
    out.Word(kMainIconImageId);
    return out.Take();
}

}  // namespace

const std::vector<uint8_t>& MainIconImage() {
    static const std::vector<uint8_t> image = BuildImage();
    return image;
}

const std::vector<uint8_t>& MainIconGroup() {
    static const std::vector<uint8_t> group = BuildGroup();
    return group;
}
