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

std::vector<uint8_t> CubeFile();
std::vector<uint8_t> SphereFile();
