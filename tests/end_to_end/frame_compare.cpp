#include "frame_compare.h"

#include <png.h>
#include <algorithm>
#include <cstdlib>

FrameImage Shrunk(const FrameImage& image, int width, int height) {
    FrameImage out;
    if (image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0) return out;
    out.width = width;
    out.height = height;
    out.rgb.assign(size_t(width) * size_t(height) * 3, 0);
    for (int oy = 0; oy < height; ++oy) {
        const int y0 = oy * image.height / height, y1 = std::max(y0 + 1, (oy + 1) * image.height / height);
        for (int ox = 0; ox < width; ++ox) {
            const int x0 = ox * image.width / width, x1 = std::max(x0 + 1, (ox + 1) * image.width / width);
            unsigned long sum[3] = {};
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    for (int c = 0; c < 3; ++c) sum[c] += image.rgb[(size_t(y) * image.width + x) * 3 + c];
            const unsigned long count = static_cast<unsigned long>(x1 - x0) * static_cast<unsigned long>(y1 - y0);
            for (int c = 0; c < 3; ++c)
                out.rgb[(size_t(oy) * width + ox) * 3 + c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
        }
    }
    return out;
}

FrameImage Region(const FrameImage& image, int left, int top, int width, int height) {
    FrameImage out;
    const int x0 = std::clamp(left, 0, image.width), x1 = std::clamp(left + width, 0, image.width);
    const int y0 = std::clamp(top, 0, image.height), y1 = std::clamp(top + height, 0, image.height);
    out.width = x1 - x0;
    out.height = y1 - y0;
    for (int y = y0; y < y1; ++y) {
        const auto row = image.rgb.begin() + static_cast<std::ptrdiff_t>((size_t(y) * image.width + x0) * 3);
        out.rgb.insert(out.rgb.end(), row, row + static_cast<std::ptrdiff_t>(out.width) * 3);
    }
    return out;
}

std::string WritePngImage(const std::filesystem::path& path, const FrameImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr))
        return path.string() + ": " + png.message;
    return {};
}

FrameDifference Compare(const FrameImage& image, const FrameImage& reference) {
    FrameDifference d;
    d.sameSize = image.width == reference.width && image.height == reference.height && image.width > 0 &&
                 image.height > 0 && image.rgb.size() == reference.rgb.size();
    if (!d.sameSize) return d;
    const size_t pixels = size_t(image.width) * size_t(image.height);
    double sum[3] = {};
    size_t far = 0;
    for (size_t i = 0; i < pixels; ++i) {
        bool isFar = false;
        for (int c = 0; c < 3; ++c) {
            const int off = std::abs(int(image.rgb[i * 3 + c]) - int(reference.rgb[i * 3 + c]));
            sum[c] += off;
            isFar = isFar || off > kFarOff;
        }
        far += isFar;
    }
    for (int c = 0; c < 3; ++c) d.meanDifference[c] = sum[c] / double(pixels);
    d.farFraction = double(far) / double(pixels);
    return d;
}

bool Close(const FrameDifference& d) {
    if (!d.sameSize) return false;
    for (double mean : d.meanDifference)
        if (mean > kMeanLimit) return false;
    return d.farFraction <= kFarLimit;
}

std::ostream& operator<<(std::ostream& out, const FrameDifference& d) {
    if (!d.sameSize) return out << "(pictures of different sizes)";
    return out << "mean difference " << d.meanDifference[0] << " / " << d.meanDifference[1] << " / "
               << d.meanDifference[2] << " (limit " << kMeanLimit << "), " << 100.0 * d.farFraction
               << "% of pixels off by more than " << kFarOff << " (limit " << 100.0 * kFarLimit << "%)";
}
