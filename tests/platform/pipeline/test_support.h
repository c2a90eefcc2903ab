#pragma once
// Helpers for the pipeline tests: a canvas with guard bytes, textures, matrices, vertices, PNG golden images.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pipeline/pipeline.h"

namespace pipeline::test {

// A colour and depth surface with guard bytes around them, so a write outside shows up, and a queue
// its draws wait in (a test may point target.queue at another one). Reading it flushes the queue
// first, as the device does before it reads a surface.
class Canvas {
public:
    Canvas(int width, int height, ColorFormat format = ColorFormat::X8R8G8B8, DepthFormat depth = DepthFormat::D24S8);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    RenderTarget target;
    uint32_t pixel(int x, int y) const; // 0xAARRGGBB
    uint32_t raw(int x, int y) const;
    uint32_t depthRaw(int x, int y) const;
    void fill(uint32_t argb, float z = 1.0f);
    bool guardsIntact() const;
    std::vector<uint32_t> pixels() const;

private:
    std::vector<uint8_t> color_, depth_;
    int colorPitch_, depthPitch_;
    DrawQueue queue_;
};

// A texture whose bytes the holder owns. Levels are made by averaging 2 x 2 blocks.
struct TextureHolder {
    Texture texture;
    std::vector<std::vector<uint8_t>> bytes;
};
TextureHolder makeTexture(int width, int height, const std::function<uint32_t(int, int)>& argbAt, int levels = 1,
                          TextureFormat format = TextureFormat::A8R8G8B8);
// Every texel of level `level` set to one colour (for telling mip levels apart).
void paintLevel(TextureHolder& holder, int level, uint32_t argb);

Mat4 lookAt(Vec3 eye, Vec3 at, Vec3 up);
Mat4 perspective(float fovY, float aspect, float zn, float zf);
Mat4 translation(float x, float y, float z);
Mat4 rotationY(float angle);

// Vertices in a packed float stream with a layout to match.
struct VertexStream {
    VertexLayout layout;
    std::vector<uint8_t> bytes;
    int count() const { return layout.stride ? static_cast<int>(bytes.size()) / layout.stride : 0; }
};
struct Vertex {
    float x = 0, y = 0, z = 0, rhw = 1;
    Vec3 normal;
    uint32_t diffuse = 0xFFFFFFFF, specular = 0;
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};
struct StreamFormat {
    bool pretransformed = false, normal = false, diffuse = false, specular = false;
    int texSets = 0;
};
VertexStream makeStream(const StreamFormat& format, const std::vector<Vertex>& vertices);

DrawCall drawOf(const VertexStream& stream, PrimitiveType type, int primitiveCount);
DrawCall indexedDrawOf(const VertexStream& stream, const std::vector<uint16_t>& indices, PrimitiveType type,
                       int primitiveCount);

// A pixel state with stage 0 modulating texture and diffuse (or passing diffuse when no texture is given).
PixelState basicPixels(const Texture* texture = nullptr);

// Compares the canvas with tests/platform/pipeline/golden/<name>.png within `tolerance` per channel.
// MORVATH_UPDATE_GOLDEN=1 writes the reference instead. On a mismatch <name>.actual.png and
// <name>.diff.png land in the working directory. Returns an empty string on success, else the reason.
std::string compareGolden(const Canvas& canvas, const std::string& name, int tolerance = 2);

bool writePng(const std::string& path, int width, int height, const std::vector<uint32_t>& argb);
bool readPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& argb);

} // namespace pipeline::test
