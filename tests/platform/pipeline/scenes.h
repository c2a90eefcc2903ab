#pragma once
// Small scenes shared by the golden-image and the reference-versus-parallel tests.
#include "test_support.h"

namespace pipeline::test {

// A UV sphere of radius 1 at the origin: positions, normals, white diffuse, (u, v); indexed list.
struct Mesh {
    VertexStream stream;
    std::vector<uint16_t> indices;
};
Mesh makeSphere(int slices, int stacks);

// The camera of the 3D scenes: eye (0, 0, -4) looking at the origin, 45 degrees, square target.
VertexState cameraState();

// Lit sphere under a point and a directional light.
void drawLitSphere(Canvas& canvas);

// A floor plane receding into the distance, textured with a checker, filtered as given.
void drawTexturedFloor(Canvas& canvas, Filter minMag, Filter mip, const Texture& texture);
TextureHolder checkerTexture(int size, int cell, int levels);

// A demanding scene: many overlapping lit, textured, fogged, blended and depth-tested triangles. The
// second stage's operation picks the pixel path: AddSigned takes the general one, Modulate the
// packed 8-bit one.
void drawDemandingScene(Canvas& canvas, TextureOp secondStage = TextureOp::AddSigned);

} // namespace pipeline::test
