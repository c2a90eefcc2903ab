// Writing text X files: one top-level Mesh with its normals and material list, or a hierarchy of
// frames with their transforms and meshes.
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

struct XFrame {
    std::string name;
    std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // row-major, row vectors
    std::vector<XMesh> meshes;
    std::vector<XFrame> children;
};

// The whole file: the "xof 0302txt 0032" header, then the mesh.
std::string XFileText(const XMesh& mesh);
// The whole file: the header, then the top-level frames in order.
std::string XFileText(const std::vector<XFrame>& frames);
