// Writing a mesh as a text X file: one top-level Mesh with its normals and material list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct XMaterial {
    std::array<float, 4> diffuse{1, 1, 1, 1};  // r, g, b, a
    float power = 0;
    std::array<float, 3> specular{0, 0, 0};
    std::array<float, 3> emissive{0, 0, 0};
    std::string texture;  // empty: none
};

struct XMesh {
    std::string name;
    std::vector<std::array<float, 3>> positions;
    std::vector<std::vector<uint32_t>> faces;   // indices into positions, clockwise seen from the front
    std::vector<std::array<float, 3>> normals;  // empty, or one per position (indexed like the faces)
    std::vector<XMaterial> materials;           // empty: no material list
    std::vector<uint32_t> faceMaterials;        // one per face when there are materials
};

// The whole file: the "xof 0302txt 0032" header, then the mesh.
std::string XFileText(const XMesh& mesh);
