// Queued draws and clears: what a draw captures at the call, and when the queue runs by itself.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "scenes.h"
#include "test_support.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

// Runs the test body with the parallel (queued) path and restores the global setting afterwards.
class Queue : public ::testing::Test {
protected:
    void SetUp() override { SetThreadCount(0); }
    void TearDown() override { SetThreadCount(0); }
};

// A pre-transformed quad covering [x0, x1) x [y0, y1), texture coordinates 0..1.
VertexStream quad(float x0, float y0, float x1, float y1, uint32_t diffuse = 0xFFFFFFFF) {
    std::vector<Vertex> v(4);
    const float xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i] - 0.5f;
        v[i].y = ys[i] - 0.5f;
        v[i].diffuse = diffuse;
        v[i].u0 = i & 1 ? 1.0f : 0.0f;
        v[i].v0 = i & 2 ? 1.0f : 0.0f;
    }
    return makeStream({true, false, true, false, 1}, v);
}

// The pixel as it is in memory now, without flushing first.
uint32_t unflushedPixel(const Canvas& canvas, int x, int y) {
    uint32_t v;
    std::memcpy(&v, canvas.target.color.data + static_cast<size_t>(y) * canvas.target.color.pitch + 4 * x, 4);
    return v | 0xFF000000u;
}

TEST_F(Queue, ClearsAndDrawsLandInSubmissionOrder) {
    if (ThreadCount() < 2) GTEST_SKIP() << "one hardware thread: nothing is queued";
    Canvas canvas(40, 40);
    canvas.fill(0xFF000000);
    const VertexStream left = quad(0, 0, 20, 40, 0xFF0000FF), all = quad(0, 0, 40, 40, 0xFF00FF00);
    Draw(drawOf(all, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), canvas.target);
    const Rect middle{10, 10, 30, 30};
    Clear(canvas.target, &middle, 1, kClearColor, 0xFFFF0000, 1.0f, 0);
    Draw(drawOf(left, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), canvas.target);
    EXPECT_EQ(canvas.pixel(35, 5), 0xFF00FF00u);  // the first draw
    EXPECT_EQ(canvas.pixel(25, 20), 0xFFFF0000u); // the clear over it
    EXPECT_EQ(canvas.pixel(15, 20), 0xFF0000FFu); // the last draw over the clear
    EXPECT_EQ(canvas.pixel(5, 5), 0xFF0000FFu);
}

TEST_F(Queue, ADrawSamplesTheTextureAsItWasAtTheCallEvenIfItChangesOrGoesAway) {
    Canvas canvas(40, 20);
    canvas.fill(0xFF000000);
    auto holder = std::make_unique<TextureHolder>(makeTexture(4, 4, [](int, int) { return 0xFFFFFFFFu; }));
    const VertexStream a = quad(0, 0, 20, 20), b = quad(20, 0, 40, 20);
    Draw(drawOf(a, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(&holder->texture), canvas.target);
    paintLevel(*holder, 0, 0xFF00FF00); // changed (as after a lock) while the first draw may be queued
    Draw(drawOf(b, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(&holder->texture), canvas.target);
    holder.reset(); // and gone before the queue runs
    EXPECT_EQ(canvas.pixel(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.pixel(30, 10), 0xFF00FF00u);
}

TEST_F(Queue, ADrawUsesTheVerticesAsTheyWereAtTheCall) {
    Canvas canvas(20, 20);
    canvas.fill(0xFF000000);
    VertexStream stream = quad(0, 0, 10, 10, 0xFFFF0000);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), canvas.target);
    stream.bytes.assign(stream.bytes.size(), 0xFF); // the buffer is reused at once
    EXPECT_EQ(canvas.pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(15, 15), 0xFF000000u);
}

TEST_F(Queue, WorkForAnotherTargetRunsTheQueueFirst) {
    DrawQueue shared; // one device drawing into two targets
    Canvas first(16, 16), second(16, 16);
    first.target.queue = second.target.queue = &shared;
    first.fill(0xFF000000);
    const VertexStream stream = quad(0, 0, 16, 16, 0xFF123456);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), first.target);
    Clear(second.target, nullptr, 0, kClearColor, 0xFF000000, 1.0f, 0);
    EXPECT_EQ(unflushedPixel(first, 8, 8), 0xFF123456u);
}

TEST_F(Queue, SamplingATargetThatQueuedWorkWritesRunsTheQueueFirst) {
    DrawQueue shared;
    Canvas source(8, 8, ColorFormat::A8R8G8B8), dest(8, 8);
    source.target.queue = dest.target.queue = &shared;
    source.fill(0xFF000000);
    dest.fill(0xFF000000);
    const VertexStream stream = quad(0, 0, 8, 8, 0xFF00FFFF);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), source.target);
    // The rendered surface read as a texture, as a render-target texture is.
    Texture texture;
    texture.format = TextureFormat::A8R8G8B8;
    texture.levels.push_back({8, 8, source.target.color.pitch, source.target.color.data, 1});
    PixelState pixels = basicPixels(&texture);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, pixels, dest.target);
    EXPECT_EQ(dest.pixel(4, 4), 0xFF00FFFFu);
}

TEST_F(Queue, EachQueueHoldsItsOwnWorkAndRunsItForTheMemoryItWrites) {
    if (ThreadCount() < 2) GTEST_SKIP() << "one hardware thread: nothing is queued";
    Canvas first(16, 16), second(16, 16);
    first.fill(0xFF000000);
    const VertexStream stream = quad(0, 0, 16, 16, 0xFF123456);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), first.target);
    // Work through another queue, and a flush for memory the queued work does not write, leave it queued.
    Clear(second.target, nullptr, 0, kClearColor, 0xFF000000, 1.0f, 0);
    second.target.queue->Flush();
    first.target.queue->FlushWrites(second.target.color.data, second.target.color.data + 16);
    EXPECT_NE(unflushedPixel(first, 8, 8), 0xFF123456u);
    // A flush for its depth surface runs it.
    first.target.queue->FlushWrites(first.target.depth.data, first.target.depth.data + 1);
    EXPECT_EQ(unflushedPixel(first, 8, 8), 0xFF123456u);
}

TEST_F(Queue, ATargetWithoutAQueueIsDrawnAtTheCall) {
    Canvas canvas(16, 16);
    canvas.target.queue = nullptr;
    canvas.fill(0xFF000000);
    const VertexStream stream = quad(0, 0, 16, 16, 0xFF654321);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), canvas.target);
    EXPECT_EQ(unflushedPixel(canvas, 3, 3), 0xFF654321u);
}

TEST_F(Queue, TheSingleThreadedPathDrawsAtOnce) {
    SetThreadCount(1);
    Canvas canvas(16, 16);
    canvas.fill(0xFF000000);
    const VertexStream stream = quad(0, 0, 16, 16, 0xFF654321);
    Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, basicPixels(), canvas.target);
    EXPECT_EQ(unflushedPixel(canvas, 3, 3), 0xFF654321u);
}

// Hundreds of small overlapping blended quads with clears among them: the queue hands batches to the
// workers while more are submitted, and every pixel must still blend them in submission order, as the
// single-threaded path does.
void drawBlendedQuads(Canvas& canvas) {
    canvas.fill(0xFF000000);
    PixelState blended = basicPixels();
    blended.blend = {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, BlendOp::Add};
    for (int i = 0; i < 700; ++i) {
        if (i % 150 == 149) {
            const Rect band{0, (i / 150) * 13, 96, (i / 150) * 13 + 9};
            Clear(canvas.target, &band, 1, kClearColor, 0xFF203040u + static_cast<uint32_t>(i), 1.0f, 0);
            continue;
        }
        const float x = static_cast<float>((i * 37) % 80), y = static_cast<float>((i * 17) % 66);
        const uint32_t color = static_cast<uint32_t>(40 + i % 200) << 24 | static_cast<uint32_t>(i * 2654435761u) >> 8;
        const VertexStream stream = quad(x, y, x + 7 + i % 11, y + 5 + i % 13, color);
        Draw(drawOf(stream, PrimitiveType::TriangleStrip, 2), VertexState{}, blended, canvas.target);
    }
}

std::vector<uint32_t> blendedQuads(int threads) {
    SetThreadCount(threads);
    Canvas canvas(96, 80);
    drawBlendedQuads(canvas);
    return canvas.pixels();
}

TEST_F(Queue, ManySmallBlendedDrawsBlendInSubmissionOrderOnEveryPath) {
    const std::vector<uint32_t> reference = blendedQuads(1);
    EXPECT_EQ(blendedQuads(2), reference);
    EXPECT_EQ(blendedQuads(0), reference);
    int distinct = 0;  // the quads overlap and blend: many colours, not a few
    for (size_t i = 1; i < reference.size(); ++i) distinct += reference[i] != reference[i - 1];
    EXPECT_GT(distinct, static_cast<int>(reference.size()) / 2);
}

// FlushAndRead hands every row over once, after all the queued work for it, whether or not work is queued.
TEST_F(Queue, FlushAndReadGivesEveryRowOnceWithItsFinishedPixels) {
    const std::vector<uint32_t> reference = blendedQuads(1);
    for (int threads : {1, 2, 0}) {
        SetThreadCount(threads);
        Canvas canvas(96, 80);
        for (bool queued : {true, false}) {
            if (queued) drawBlendedQuads(canvas);
            std::vector<uint32_t> read(reference.size(), 0);
            std::vector<std::atomic<int>> times(80);
            canvas.target.queue->FlushAndRead(80, [&](int top, int bottom) {
                for (int y = top; y < bottom; ++y) {
                    times[y].fetch_add(1);
                    for (int x = 0; x < 96; ++x) read[static_cast<size_t>(y) * 96 + x] = unflushedPixel(canvas, x, y);
                }
            });
            for (int y = 0; y < 80; ++y) ASSERT_EQ(times[y].load(), 1) << "row " << y << ", threads " << threads;
            EXPECT_EQ(read, reference) << "threads " << threads << (queued ? ", queued" : ", nothing queued");
        }
    }
}

// Small lit draws, indexed from past the start of their stream with a base vertex, each moved by its
// own world matrix, with an index past its vertices, and by turns the whole sphere (set up in several
// parts) and a few of its triangles (one part): queued draws are set up when the queue runs, from
// copies of their vertices and indices, and must draw what the reference path draws even though the
// caller's buffers are overwritten after each call.
std::vector<uint32_t> smallIndexedDraws(int threads, std::vector<uint32_t>& depth) {
    SetThreadCount(threads);
    Canvas canvas(120, 90, ColorFormat::A8R8G8B8, DepthFormat::D24S8);
    canvas.fill(0xFF000000);
    const Mesh sphere = makeSphere(16, 8);
    const int lead = 5;  // vertices before the sphere's, which no index names
    VertexStream stream = sphere.stream;
    stream.bytes.insert(stream.bytes.begin(), static_cast<size_t>(lead) * stream.layout.stride, 0xFF);
    const VertexStream original = stream;
    std::vector<uint16_t> indices = sphere.indices;
    indices[4] = static_cast<uint16_t>(sphere.stream.count());  // past the vertices: its triangle drops
    const std::vector<uint16_t> originalIndices = indices;
    VertexState vs = cameraState();
    vs.lighting = true;
    vs.material.diffuse = {1, 0.8f, 0.6f, 1};
    LightSource sun;
    sun.direction = Normalize({1, -0.5f, 1});
    sun.diffuse = {1, 1, 1, 0};
    vs.lights[0] = sun;
    PixelState ps = basicPixels();
    ps.depth = {true, true, Compare::LessEqual};
    for (int i = 0; i < 6; ++i) {
        vs.world = translation(-1.5f + 0.6f * static_cast<float>(i), 0.3f * static_cast<float>(i % 2), 0.5f * static_cast<float>(i));
        const int triangles = i % 2 ? 30 : static_cast<int>(indices.size() / 3);
        DrawCall call = indexedDrawOf(stream, indices, PrimitiveType::TriangleList, triangles);
        call.baseVertex = lead;
        call.firstVertex = lead;
        call.usedVertexCount = sphere.stream.count();
        Draw(call, vs, ps, canvas.target);
        std::fill(stream.bytes.begin(), stream.bytes.end(), uint8_t(0x7F));  // reused at once
        std::fill(indices.begin(), indices.end(), uint16_t(1));
        stream = original;
        indices = originalIndices;
    }
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) depth.push_back(canvas.depthRaw(x, y));
    return canvas.pixels();
}

TEST_F(Queue, SmallIndexedDrawsSetUpWhenTheQueueRunsMatchTheReferencePath) {
    std::vector<uint32_t> referenceDepth, allDepth, twoDepth;
    const std::vector<uint32_t> reference = smallIndexedDraws(1, referenceDepth);
    EXPECT_EQ(smallIndexedDraws(0, allDepth), reference);
    EXPECT_EQ(smallIndexedDraws(2, twoDepth), reference);
    EXPECT_EQ(allDepth, referenceDepth);
    EXPECT_EQ(twoDepth, referenceDepth);
    int drawn = 0;
    for (uint32_t p : reference) drawn += p != 0xFF000000u;
    EXPECT_GT(drawn, static_cast<int>(reference.size()) / 10);
}

} // namespace
} // namespace pipeline
