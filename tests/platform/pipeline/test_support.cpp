#include "test_support.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace pipeline::test {

namespace {
constexpr int kGuard = 64;
constexpr uint8_t kGuardByte = 0xA5;
} // namespace

Canvas::Canvas(int width, int height, ColorFormat format, DepthFormat depth) {
    colorPitch_ = width * BytesPerPixel(format) + 8; // a pitch wider than the row, as surfaces may have
    color_.assign(static_cast<size_t>(colorPitch_) * height + 2 * kGuard, kGuardByte);
    target.color = {format, width, height, colorPitch_, color_.data() + kGuard};
    depthPitch_ = width * BytesPerPixel(depth) + 4;
    if (depth != DepthFormat::None) {
        depth_.assign(static_cast<size_t>(depthPitch_) * height + 2 * kGuard, kGuardByte);
        target.depth = {depth, width, height, depthPitch_, depth_.data() + kGuard};
    }
    target.viewport = {0, 0, width, height, 0.0f, 1.0f};
    target.queue = &queue_;
    fill(0xFF000000);
}

Canvas::~Canvas() {
    // Queued work must not outlive the surfaces, whichever queue the target uses now.
    if (!target.queue) return;
    target.queue->FlushWrites(color_.data(), color_.data() + color_.size());
    target.queue->FlushWrites(depth_.data(), depth_.data() + depth_.size());
}

uint32_t Canvas::raw(int x, int y) const {
    Flush(target); // reading the memory: what is queued must have landed
    const uint8_t* p = target.color.data + static_cast<size_t>(y) * colorPitch_ + x * BytesPerPixel(target.color.format);
    uint32_t v = 0;
    std::memcpy(&v, p, BytesPerPixel(target.color.format));
    return v;
}

uint32_t Canvas::pixel(int x, int y) const { return ToArgb8(target.color.format, raw(x, y)); }

uint32_t Canvas::depthRaw(int x, int y) const {
    Flush(target);
    const uint8_t* p = target.depth.data + static_cast<size_t>(y) * depthPitch_ + x * BytesPerPixel(target.depth.format);
    uint32_t v = 0;
    std::memcpy(&v, p, BytesPerPixel(target.depth.format));
    return v;
}

void Canvas::fill(uint32_t argb, float z) {
    RenderTarget whole = target;
    whole.viewport = {0, 0, target.color.width, target.color.height, 0, 1};
    whole.scissorEnabled = false;
    Clear(whole, nullptr, 0, kClearColor | kClearDepth | kClearStencil, argb, z, 0);
}

bool Canvas::guardsIntact() const {
    Flush(target);
    auto check = [](const std::vector<uint8_t>& buffer, int pitch, int rowBytes, int rows) {
        if (buffer.empty()) return true;
        for (int i = 0; i < kGuard; ++i)
            if (buffer[i] != kGuardByte || buffer[buffer.size() - 1 - i] != kGuardByte) return false;
        for (int y = 0; y < rows; ++y) // the padding at the end of each row is outside the surface too
            for (int x = rowBytes; x < pitch; ++x)
                if (buffer[kGuard + static_cast<size_t>(y) * pitch + x] != kGuardByte) return false;
        return true;
    };
    const int w = target.color.width, h = target.color.height;
    return check(color_, colorPitch_, w * BytesPerPixel(target.color.format), h) &&
           check(depth_, depthPitch_, w * BytesPerPixel(target.depth.format), h);
}

std::vector<uint32_t> Canvas::pixels() const {
    std::vector<uint32_t> out;
    for (int y = 0; y < target.color.height; ++y)
        for (int x = 0; x < target.color.width; ++x) out.push_back(pixel(x, y));
    return out;
}

namespace {
uint32_t average(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    uint32_t r = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t s = ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) + ((d >> shift) & 0xFF);
        r |= ((s + 2) / 4) << shift;
    }
    return r;
}

std::vector<uint8_t> encode(TextureFormat format, int w, int h, const std::vector<uint32_t>& argb) {
    const ColorFormat cf = static_cast<ColorFormat>(static_cast<int>(format));
    const int bpp = BytesPerPixel(cf);
    std::vector<uint8_t> bytes(static_cast<size_t>(w) * h * bpp);
    for (size_t i = 0; i < argb.size(); ++i) {
        uint32_t raw = FromArgb8(cf, argb[i]);
        std::memcpy(&bytes[i * bpp], &raw, bpp);
    }
    return bytes;
}
} // namespace

TextureHolder makeTexture(int width, int height, const std::function<uint32_t(int, int)>& argbAt, int levels,
                          TextureFormat format) {
    TextureHolder holder;
    holder.texture.format = format;
    std::vector<uint32_t> texels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) texels[static_cast<size_t>(y) * width + x] = argbAt(x, y);
    int w = width, h = height;
    for (int level = 0; level < levels; ++level) {
        holder.bytes.push_back(encode(format, w, h, texels));
        const int bpp = BytesPerPixel(static_cast<ColorFormat>(static_cast<int>(format)));
        holder.texture.levels.push_back({w, h, w * bpp, holder.bytes.back().data(), 1});
        if (w == 1 && h == 1) break;
        const int nw = std::max(1, w / 2), nh = std::max(1, h / 2);
        std::vector<uint32_t> next(static_cast<size_t>(nw) * nh);
        for (int y = 0; y < nh; ++y)
            for (int x = 0; x < nw; ++x) {
                auto at = [&](int xx, int yy) { return texels[static_cast<size_t>(std::min(yy, h - 1)) * w + std::min(xx, w - 1)]; };
                next[static_cast<size_t>(y) * nw + x] = average(at(2 * x, 2 * y), at(2 * x + 1, 2 * y), at(2 * x, 2 * y + 1),
                                                                at(2 * x + 1, 2 * y + 1));
            }
        texels = std::move(next);
        w = nw;
        h = nh;
    }
    // The vectors may have moved while growing: point the levels at their final storage.
    for (size_t i = 0; i < holder.bytes.size(); ++i) holder.texture.levels[i].data = holder.bytes[i].data();
    return holder;
}

void paintLevel(TextureHolder& holder, int level, uint32_t argb) {
    TextureLevel& l = holder.texture.levels[level];
    std::vector<uint32_t> texels(static_cast<size_t>(l.width) * l.height, argb);
    holder.bytes[level] = encode(holder.texture.format, l.width, l.height, texels);
    l.data = holder.bytes[level].data();
    ++l.version;
}

Mat4 lookAt(Vec3 eye, Vec3 at, Vec3 up) {
    Vec3 z = Normalize(at - eye), x = Normalize(Cross(up, z)), y = Cross(z, x);
    Mat4 m;
    m.m[0][0] = x.x; m.m[0][1] = y.x; m.m[0][2] = z.x; m.m[0][3] = 0;
    m.m[1][0] = x.y; m.m[1][1] = y.y; m.m[1][2] = z.y; m.m[1][3] = 0;
    m.m[2][0] = x.z; m.m[2][1] = y.z; m.m[2][2] = z.z; m.m[2][3] = 0;
    m.m[3][0] = -Dot(x, eye); m.m[3][1] = -Dot(y, eye); m.m[3][2] = -Dot(z, eye); m.m[3][3] = 1;
    return m;
}

Mat4 perspective(float fovY, float aspect, float zn, float zf) {
    Mat4 m;
    const float ys = 1.0f / std::tan(fovY / 2), xs = ys / aspect;
    m.m[0][0] = xs; m.m[1][1] = ys;
    m.m[2][2] = zf / (zf - zn); m.m[2][3] = 1;
    m.m[3][2] = -zn * zf / (zf - zn); m.m[3][3] = 0;
    return m;
}

Mat4 translation(float x, float y, float z) {
    Mat4 m;
    m.m[3][0] = x; m.m[3][1] = y; m.m[3][2] = z;
    return m;
}

Mat4 rotationY(float angle) {
    Mat4 m;
    const float c = std::cos(angle), s = std::sin(angle);
    m.m[0][0] = c; m.m[0][2] = -s;
    m.m[2][0] = s; m.m[2][2] = c;
    return m;
}

VertexStream makeStream(const StreamFormat& f, const std::vector<Vertex>& vertices) {
    VertexStream s;
    VertexLayout& l = s.layout;
    l.pretransformed = f.pretransformed;
    int offset = f.pretransformed ? 16 : 12;
    if (f.normal) { l.normalOffset = offset; offset += 12; }
    if (f.diffuse) { l.diffuseOffset = offset; offset += 4; }
    if (f.specular) { l.specularOffset = offset; offset += 4; }
    for (int t = 0; t < f.texSets; ++t) { l.texCoordOffset[t] = offset; offset += 8; }
    l.stride = offset;
    s.bytes.resize(static_cast<size_t>(offset) * vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) {
        uint8_t* p = s.bytes.data() + i * offset;
        const Vertex& v = vertices[i];
        float pos[4] = {v.x, v.y, v.z, v.rhw};
        std::memcpy(p, pos, f.pretransformed ? 16 : 12);
        if (f.normal) std::memcpy(p + l.normalOffset, &v.normal, 12);
        if (f.diffuse) std::memcpy(p + l.diffuseOffset, &v.diffuse, 4);
        if (f.specular) std::memcpy(p + l.specularOffset, &v.specular, 4);
        const float uv[4] = {v.u0, v.v0, v.u1, v.v1};
        for (int t = 0; t < f.texSets; ++t) std::memcpy(p + l.texCoordOffset[t], uv + 2 * std::min(t, 1), 8);
    }
    return s;
}

DrawCall drawOf(const VertexStream& stream, PrimitiveType type, int primitiveCount) {
    DrawCall call;
    call.type = type;
    call.primitiveCount = primitiveCount;
    call.vertices = stream.bytes.data();
    call.layout = stream.layout;
    call.vertexCount = stream.count();
    return call;
}

DrawCall indexedDrawOf(const VertexStream& stream, const std::vector<uint16_t>& indices, PrimitiveType type,
                       int primitiveCount) {
    DrawCall call = drawOf(stream, type, primitiveCount);
    call.indices = indices.data();
    call.indexSize = IndexSize::Bits16;
    call.indexCount = static_cast<int>(indices.size());
    call.usedVertexCount = stream.count();
    return call;
}

PixelState basicPixels(const Texture* texture) {
    PixelState p;
    p.cull = CullMode::None;
    StageState& s = p.stages[0];
    s.texture = texture;
    s.colorOp = texture ? TextureOp::Modulate : TextureOp::SelectArg1;
    s.colorArg1 = {texture ? ArgSource::Texture : ArgSource::Diffuse};
    s.colorArg2 = {ArgSource::Diffuse};
    s.alphaOp = texture ? TextureOp::Modulate : TextureOp::SelectArg1;
    s.alphaArg1 = {texture ? ArgSource::Texture : ArgSource::Diffuse};
    s.alphaArg2 = {ArgSource::Diffuse};
    return p;
}

bool writePng(const std::string& path, int width, int height, const std::vector<uint32_t>& argb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t c = argb[static_cast<size_t>(y) * width + x];
            row[3 * x] = (c >> 16) & 0xFF;
            row[3 * x + 1] = (c >> 8) & 0xFF;
            row[3 * x + 2] = c & 0xFF;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return true;
}

bool readPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& argb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_BGRA;
    argb.assign(static_cast<size_t>(image.width) * image.height, 0);
    if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) return false;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

std::string compareGolden(const Canvas& canvas, const std::string& name, int tolerance) {
    const std::filesystem::path golden = std::filesystem::path(MORVATH_SOURCE_DIR) / "tests/platform/pipeline/golden" / (name + ".png");
    const int w = canvas.target.color.width, h = canvas.target.color.height;
    std::vector<uint32_t> actual = canvas.pixels();
    for (auto& c : actual) c |= 0xFF000000u; // references hold colour only
    const char* update = std::getenv("MORVATH_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        return writePng(golden.string(), w, h, actual) ? std::string() : "cannot write " + golden.string();
    }
    int gw = 0, gh = 0;
    std::vector<uint32_t> expected;
    if (!readPng(golden.string(), gw, gh, expected)) return "cannot read " + golden.string();
    if (gw != w || gh != h) return "size differs from " + golden.string();
    std::vector<uint32_t> diff(actual.size(), 0xFF000000u);
    int bad = 0, worst = 0;
    for (size_t i = 0; i < actual.size(); ++i) {
        int d = 0;
        for (int shift = 0; shift < 24; shift += 8)
            d = std::max(d, std::abs(static_cast<int>((actual[i] >> shift) & 0xFF) - static_cast<int>((expected[i] >> shift) & 0xFF)));
        worst = std::max(worst, d);
        if (d > tolerance) {
            ++bad;
            diff[i] = 0xFFFF0000u | std::min(255, d * 4) << 8;
        }
    }
    if (bad == 0) return {};
    writePng(name + ".actual.png", w, h, actual);
    writePng(name + ".diff.png", w, h, diff);
    return std::to_string(bad) + " pixels differ (worst " + std::to_string(worst) + "); see " + name + ".diff.png";
}

} // namespace pipeline::test
