// TEMPORARY: dumps exact pixels of scenes for before/after comparison.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include "scenes.h"
namespace pipeline { namespace {
using namespace pipeline::test;
void dump(const Canvas& c, const char* name) {
    const char* dir = std::getenv("ZZ_DUMP"); if (!dir) return;
    FILE* f = std::fopen((std::string(dir) + "/" + name).c_str(), "wb");
    auto p = c.pixels(); std::fwrite(p.data(), 4, p.size(), f); std::fclose(f);
}
TEST(ZzDump, Scenes) {
    for (int t : {1, 0}) {
        setThreadCount(t);
        { Canvas c(211, 157, ColorFormat::A8R8G8B8); c.fill(0xFF102030); drawDemandingScene(c); drawLitSphere(c); dump(c, t ? "demand1" : "demand0"); }
        TextureHolder checker = checkerTexture(32, 4, 6);
        int k = 0;
        for (Filter f : {Filter::Point, Filter::Linear}) for (Filter m : {Filter::None, Filter::Point, Filter::Linear}) {
            Canvas c(97, 61); drawTexturedFloor(c, f, m, checker.texture);
            std::string n = "floor" + std::to_string(k++) + std::to_string(t); dump(c, n.c_str());
        }
    }
    setThreadCount(0);
}
}}
