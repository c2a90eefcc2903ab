#include "image_resample.h"

#include <algorithm>
#include <cmath>

namespace d3dx9 {

namespace {

constexpr DWORD kFilterKind = 0xFF;

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

uint32_t Round8(double value) { return static_cast<uint32_t>(std::clamp(value + 0.5, 0.0, 255.0)); }

// An out-of-range coordinate folded back: mirrored (repeating the edge texel) or wrapped.
int Fold(int i, int size, bool mirror) {
    if (mirror) {
        const int period = 2 * size;
        i %= period;
        if (i < 0) i += period;
        return i < size ? i : period - 1 - i;
    }
    i %= size;
    return i < 0 ? i + size : i;
}

PixelImage CopyOverlap(const PixelImage& source, UINT width, UINT height) {
    PixelImage out{width, height, std::vector<uint32_t>(size_t(width) * height, 0)};
    const UINT w = std::min(width, source.width), h = std::min(height, source.height);
    for (UINT y = 0; y < h; ++y)
        std::copy_n(source.argb.begin() + size_t(y) * source.width, w, out.argb.begin() + size_t(y) * width);
    return out;
}

PixelImage Point(const PixelImage& source, UINT width, UINT height) {
    PixelImage out{width, height, std::vector<uint32_t>(size_t(width) * height)};
    for (UINT y = 0; y < height; ++y) {
        const UINT sy = static_cast<UINT>((uint64_t(2 * y + 1) * source.height) / (uint64_t(2) * height));
        for (UINT x = 0; x < width; ++x) {
            const UINT sx = static_cast<UINT>((uint64_t(2 * x + 1) * source.width) / (uint64_t(2) * width));
            out.argb[size_t(y) * width + x] = source.argb[size_t(sy) * source.width + sx];
        }
    }
    return out;
}

PixelImage Linear(const PixelImage& source, UINT width, UINT height, DWORD filter) {
    PixelImage out{width, height, std::vector<uint32_t>(size_t(width) * height)};
    const bool mirrorU = filter & D3DX_FILTER_MIRROR_U, mirrorV = filter & D3DX_FILTER_MIRROR_V;
    const int sw = static_cast<int>(source.width), sh = static_cast<int>(source.height);
    for (UINT y = 0; y < height; ++y) {
        const double v = (y + 0.5) * sh / height - 0.5;
        const int y0 = static_cast<int>(std::floor(v));
        const double fy = v - y0;
        const int rows[2] = {Fold(y0, sh, mirrorV), Fold(y0 + 1, sh, mirrorV)};
        for (UINT x = 0; x < width; ++x) {
            const double u = (x + 0.5) * sw / width - 0.5;
            const int x0 = static_cast<int>(std::floor(u));
            const double fx = u - x0;
            const int cols[2] = {Fold(x0, sw, mirrorU), Fold(x0 + 1, sw, mirrorU)};
            const double weights[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
            uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                double sum = 0;
                for (int k = 0; k < 4; ++k)
                    sum += weights[k] * Channel(source.argb[size_t(rows[k / 2]) * sw + cols[k % 2]], shift);
                result |= Round8(sum) << shift;
            }
            out.argb[size_t(y) * width + x] = result;
        }
    }
    return out;
}

// The source texels a target texel covers along one axis, with the share of each.
struct Span {
    UINT first = 0;
    std::vector<double> weights;
};

std::vector<Span> Coverage(UINT sourceSize, UINT targetSize) {
    std::vector<Span> spans(targetSize);
    const double scale = double(sourceSize) / targetSize;
    for (UINT t = 0; t < targetSize; ++t) {
        const double begin = t * scale, end = (t + 1) * scale;
        Span& span = spans[t];
        span.first = static_cast<UINT>(begin);
        for (UINT s = span.first; s < sourceSize && s < end; ++s)
            span.weights.push_back((std::min(end, s + 1.0) - std::max(begin, double(s))) / scale);
    }
    return spans;
}

PixelImage Average(const PixelImage& source, UINT width, UINT height) {
    PixelImage out{width, height, std::vector<uint32_t>(size_t(width) * height)};
    const std::vector<Span> columns = Coverage(source.width, width);
    const std::vector<Span> rows = Coverage(source.height, height);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            double sums[4] = {};
            for (size_t j = 0; j < rows[y].weights.size(); ++j) {
                const uint32_t* row = source.argb.data() + size_t(rows[y].first + j) * source.width;
                for (size_t i = 0; i < columns[x].weights.size(); ++i) {
                    const double w = rows[y].weights[j] * columns[x].weights[i];
                    const uint32_t texel = row[columns[x].first + i];
                    for (int c = 0; c < 4; ++c) sums[c] += w * Channel(texel, 8 * c);
                }
            }
            uint32_t result = 0;
            for (int c = 0; c < 4; ++c) result |= Round8(sums[c]) << (8 * c);
            out.argb[size_t(y) * width + x] = result;
        }
    }
    return out;
}

}  // namespace

bool IsValidFilter(DWORD filter) {
    if (filter == D3DX_DEFAULT) return true;
    const DWORD kind = filter & kFilterKind;
    return kind >= D3DX_FILTER_NONE && kind <= D3DX_FILTER_BOX &&
           (filter & ~(kFilterKind | D3DX_FILTER_MIRROR | D3DX_FILTER_DITHER)) == 0;
}

PixelImage Resample(const PixelImage& source, UINT width, UINT height, DWORD filter) {
    if (width == source.width && height == source.height) return source;
    if (filter == D3DX_DEFAULT) filter = D3DX_FILTER_TRIANGLE;
    switch (filter & kFilterKind) {
    case D3DX_FILTER_NONE: return CopyOverlap(source, width, height);
    case D3DX_FILTER_POINT: return Point(source, width, height);
    case D3DX_FILTER_LINEAR: return Linear(source, width, height, filter);
    default: return Average(source, width, height);
    }
}

}  // namespace d3dx9
