// The parallel rasteriser against the single-threaded reference path: identical pixels and depth.
#include <gtest/gtest.h>

#include "scenes.h"

namespace pipeline {
namespace {

using namespace pipeline::test;

std::vector<uint32_t> render(int threads, int width, int height, std::vector<uint32_t>* depth) {
    SetThreadCount(threads);
    Canvas canvas(width, height, ColorFormat::A8R8G8B8, DepthFormat::D24S8);
    canvas.fill(0xFF102030);
    static const TextureHolder checker = checkerTexture(64, 4, 7);
    drawTexturedFloor(canvas, Filter::Linear, Filter::Linear, checker.texture); // magnified to minified
    drawDemandingScene(canvas, TextureOp::Modulate);
    drawDemandingScene(canvas);
    drawLitSphere(canvas);
    SetThreadCount(0);
    EXPECT_TRUE(canvas.guardsIntact());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) depth->push_back(canvas.depthRaw(x, y));
    return canvas.pixels();
}

TEST(Parallel, BitIdenticalToTheReferencePath) {
    for (auto [w, h] : {std::pair{211, 157}, std::pair{64, 64}, std::pair{3, 300}}) {
        std::vector<uint32_t> refDepth, parDepth, twoDepth;
        const std::vector<uint32_t> reference = render(1, w, h, &refDepth);
        const std::vector<uint32_t> parallel = render(0, w, h, &parDepth);
        const std::vector<uint32_t> two = render(2, w, h, &twoDepth);
        ASSERT_EQ(reference.size(), parallel.size());
        int differing = 0, drawn = 0;
        for (size_t i = 0; i < reference.size(); ++i) {
            differing += reference[i] != parallel[i] || reference[i] != two[i];
            drawn += reference[i] != 0xFF102030u;
        }
        EXPECT_EQ(differing, 0) << w << " x " << h;
        EXPECT_EQ(refDepth, parDepth);
        EXPECT_EQ(refDepth, twoDepth);
        EXPECT_GT(drawn, static_cast<int>(reference.size()) / 4); // the scene is not empty
    }
}

TEST(Parallel, PerCallThreadCountOverridesTheGlobalSetting) {
    EXPECT_GE(ThreadCount(), 1);
    SetThreadCount(1);
    EXPECT_EQ(ThreadCount(), 1);
    SetThreadCount(0);
    EXPECT_GE(ThreadCount(), 1);
}

} // namespace
} // namespace pipeline
