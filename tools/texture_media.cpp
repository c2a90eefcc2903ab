#include "texture_media.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

uint32_t Rgb(double r, double g, double b) {
    auto channel = [](double c) { return static_cast<uint32_t>(std::clamp(c, 0.0, 255.0) + 0.5) & 0xFF; };
    return 0xFF000000u | channel(r) << 16 | channel(g) << 8 | channel(b);
}

// A repeatable grain of -1..1 per texel, so the pictures are the same on every build.
double Grain(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

double SmoothStep(double edge0, double edge1, double v) {
    const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Whether (px, py) lies inside the closed polygon (even-odd rule).
template <size_t N>
bool Inside(const std::array<std::array<double, 2>, N>& polygon, double px, double py) {
    bool inside = false;
    for (size_t i = 0, j = N - 1; i < N; j = i++) {
        const auto& a = polygon[i];
        const auto& b = polygon[j];
        if ((a[1] > py) != (b[1] > py) && px < (b[0] - a[0]) * (py - a[1]) / (b[1] - a[1]) + a[0]) inside = !inside;
    }
    return inside;
}

}  // namespace

Picture TilePicture() {
    constexpr uint32_t size = 64;
    Picture tile(size, size);
    std::array<std::array<double, 2>, 10> star{};
    for (int i = 0; i < 10; ++i) {
        const double angle = -kPi / 2 + i * kPi / 5;
        const double radius = i % 2 == 0 ? 22.0 : 9.0;
        star[i] = {32.0 + radius * std::cos(angle), 33.0 + radius * std::sin(angle)};
    }
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            const double grain = Grain(x, y, 1) * 8.0;
            double r = 196 + grain, g = 92 + grain * 0.6, b = 52 + grain * 0.4;
            // The bevel: the top and left edges catch the light, the bottom and right are in shade.
            const double edge = std::min({cx, cy, size - cx, size - cy});
            if (edge < 5.0) {
                const double light = (cx + cy < size) ? 1.35 : 0.6;
                r *= light, g *= light, b *= light;
            }
            if (Inside(star, cx, cy)) r = 250 + grain * 0.3, g = 244 + grain * 0.3, b = 226 + grain * 0.3;
            tile.At(x, y) = Rgb(r, g, b);
        }
    return tile;
}

Picture GrassPicture() {
    constexpr uint32_t size = 64;
    Picture grass(size, size);
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            const double u = (x + 0.5) / size, v = (y + 0.5) / size;
            // v runs from 0.5 (a vertical face) to 1 (flat ground); above 0.5 only rock.
            const double flat = SmoothStep(0.62, 0.9, v);
            const double blade = Grain(x, y, 2) * 18.0, pebble = Grain(x / 2, y / 2, 3) * 14.0;
            const double rockR = 118 + pebble, rockG = 104 + pebble, rockB = 88 + pebble;
            const double grassR = 58 + blade * 0.5, grassG = 148 + blade, grassB = 38 + blade * 0.3;
            const double sun = 0.88 + 0.24 * u;
            grass.At(x, y) = Rgb((rockR + (grassR - rockR) * flat) * sun, (rockG + (grassG - rockG) * flat) * sun,
                                 (rockB + (grassB - rockB) * flat) * sun);
        }
    return grass;
}

Picture ShadowPicture() {
    constexpr uint32_t size = 64;
    Picture shadow(size, size);
    struct Cloud {
        double x, y, radius, depth;
    };
    const Cloud clouds[] = {{18, 20, 11, 0.45}, {44, 14, 8, 0.35}, {40, 44, 13, 0.5}, {12, 50, 7, 0.3}};
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            double light = 1.0;
            for (const Cloud& c : clouds) {
                const double d = std::hypot(cx - c.x, cy - c.y) / c.radius;
                light -= c.depth * std::exp(-d * d * 1.5);
            }
            const double fromCentre = std::hypot(cx - size / 2.0, cy - size / 2.0) / (size / 2.0);
            light *= 1.0 - 0.25 * SmoothStep(0.6, 1.4, fromCentre);
            light += Grain(x, y, 4) * 0.015;
            const double grey = 255.0 * std::clamp(light, 0.35, 1.0);
            shadow.At(x, y) = Rgb(grey, grey, grey * 0.97);
        }
    return shadow;
}

std::vector<Picture> CursorLevels() {
    constexpr uint32_t size = 32;
    constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kOutline = 0xFF303030;
    // The classic pointer: the tip at (0, 0), the left edge straight down, a tail to the lower right.
    const std::array<std::array<double, 2>, 7> arrow{{{0, 0}, {0, 22}, {6, 17}, {10.5, 26}, {14, 24.5}, {9.5, 15.5}, {16.5, 15.5}}};
    Picture top(size, size, kBlack);
    auto inside = [&](double x, double y) { return Inside(arrow, x, y); };
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            if (!inside(cx, cy)) continue;
            // A texel whose neighbour lies outside is the outline; the tip texel belongs to it too.
            const bool edge = !inside(cx - 1, cy) || !inside(cx + 1, cy) || !inside(cx, cy - 1) || !inside(cx, cy + 1);
            top.At(x, y) = edge ? kOutline : kWhite;
        }
    top.At(0, 0) = kOutline;
    std::vector<Picture> levels{top};
    // Each smaller level: a texel is background where most of its four parents are, else the mean of
    // the parents that are not, so no grey fringe of keyed black creeps in.
    while (levels.back().width > 1) {
        const Picture& above = levels.back();
        Picture level(above.width / 2, above.height / 2, kBlack);
        for (uint32_t y = 0; y < level.height; ++y)
            for (uint32_t x = 0; x < level.width; ++x) {
                uint32_t r = 0, g = 0, b = 0, count = 0;
                for (uint32_t i = 0; i < 4; ++i) {
                    const uint32_t texel = above.At(2 * x + i % 2, 2 * y + i / 2);
                    if (texel == kBlack) continue;
                    r += texel >> 16 & 0xFF, g += texel >> 8 & 0xFF, b += texel & 0xFF, ++count;
                }
                if (count >= 2) level.At(x, y) = Rgb(r / double(count), g / double(count), b / double(count));
            }
        levels.push_back(level);
    }
    return levels;
}

std::vector<uint8_t> TileFile() { return BmpFile(TilePicture()); }
std::vector<uint8_t> GrassFile() { return BmpFile(GrassPicture()); }
std::vector<uint8_t> ShadowFile() { return BmpFile(ShadowPicture()); }
std::vector<uint8_t> CursorFile() { return DdsFile(CursorLevels()); }
