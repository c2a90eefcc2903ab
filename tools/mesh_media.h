// The scene's meshes: "media/cube.x", drawn in wire-frame, and "media/sphere.x", drawn solid.
#pragma once

#include <cstdint>
#include <vector>

#include "xfile_writer.h"

// A cube from -1 to 1 on each axis: 8 corners, 6 four-sided faces, one material, no normals (the
// program computes them).
XMesh CubeMesh();
// A sphere of radius 0.5 around the origin: 16 bands of 24 segments with outward unit normals, the
// upper half in one material and the lower half in another.
XMesh SphereMesh();

// A small hierarchy for the frame classes' tests (nothing in the program reads it): frame "Body",
// moved 0.25 to the left, holds the opaque red square "Block" (1 x 1 in the plane z = 0, facing -z) and
// frame "Arm", moved (0.5, 0.25, -0.5) further, whose blue square "Pane" has diffuse alpha 0.5. The
// colours are emissive, so they show without lights.
std::vector<XFrame> FrameScene();

std::vector<uint8_t> CubeFile();
std::vector<uint8_t> FramesFile();
std::vector<uint8_t> SphereFile();
