#include "mesh_media.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

using V3 = std::array<float, 3>;

// Orders a face clockwise seen from outside a solid centred on the origin (left-handed: the face
// normal (b - a) x (c - a) points away from the centre).
void FaceOutward(const std::vector<V3>& p, std::vector<uint32_t>& face) {
    const V3 &a = p[face[0]], &b = p[face[1]], &c = p[face[2]];
    const V3 e1{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, e2{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const V3 n{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    V3 centre{0, 0, 0};
    for (uint32_t i : face)
        for (int k = 0; k < 3; ++k) centre[k] += p[i][k];
    if (n[0] * centre[0] + n[1] * centre[1] + n[2] * centre[2] < 0) std::reverse(face.begin() + 1, face.end());
}

}  // namespace

XMesh CubeMesh() {
    XMesh m;
    m.name = "Cube";
    for (int i = 0; i < 8; ++i)
        m.positions.push_back({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
    m.faces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (auto& f : m.faces) FaceOutward(m.positions, f);
    XMaterial green;
    green.diffuse = {0.2f, 0.9f, 0.3f, 1.0f};
    green.power = 8.0f;
    green.specular = {0.3f, 0.3f, 0.3f};
    m.materials = {green};
    m.faceMaterials.assign(m.faces.size(), 0);
    return m;
}

XMesh SphereMesh() {
    constexpr int kBands = 16, kSegments = 24;
    constexpr float kRadius = 0.5f;
    const float pi = std::numbers::pi_v<float>;
    XMesh m;
    m.name = "Sphere";
    m.positions.push_back({0, kRadius, 0});
    for (int b = 1; b < kBands; ++b) {
        const float theta = pi * float(b) / kBands;
        for (int s = 0; s < kSegments; ++s) {
            const float phi = 2 * pi * float(s) / kSegments;
            m.positions.push_back({kRadius * std::sin(theta) * std::cos(phi), kRadius * std::cos(theta),
                                   kRadius * std::sin(theta) * std::sin(phi)});
        }
    }
    m.positions.push_back({0, -kRadius, 0});
    const uint32_t bottom = uint32_t(m.positions.size() - 1);
    auto at = [](int band, int segment) { return uint32_t(1 + (band - 1) * kSegments + segment % kSegments); };
    for (int s = 0; s < kSegments; ++s) {
        m.faces.push_back({0, at(1, s), at(1, s + 1)});
        m.faceMaterials.push_back(0);
    }
    for (int b = 1; b + 1 < kBands; ++b)
        for (int s = 0; s < kSegments; ++s) {
            m.faces.push_back({at(b, s), at(b, s + 1), at(b + 1, s + 1), at(b + 1, s)});
            m.faceMaterials.push_back(b < kBands / 2 ? 0 : 1);
        }
    for (int s = 0; s < kSegments; ++s) {
        m.faces.push_back({bottom, at(kBands - 1, s + 1), at(kBands - 1, s)});
        m.faceMaterials.push_back(1);
    }
    for (auto& f : m.faces) FaceOutward(m.positions, f);
    for (const V3& p : m.positions) m.normals.push_back({p[0] / kRadius, p[1] / kRadius, p[2] / kRadius});
    XMaterial blue, orange;
    blue.diffuse = {0.2f, 0.4f, 1.0f, 1.0f};
    blue.power = 20.0f;
    blue.specular = {0.5f, 0.5f, 0.5f};
    orange.diffuse = {1.0f, 0.6f, 0.1f, 1.0f};
    orange.power = 20.0f;
    orange.specular = {0.5f, 0.5f, 0.5f};
    m.materials = {blue, orange};
    return m;
}

namespace {

XMesh Square(const std::string& name, const std::array<float, 4>& colour) {
    XMesh m;
    m.name = name;
    m.positions = {{-0.5f, -0.5f, 0}, {-0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}, {0.5f, -0.5f, 0}};
    m.faces = {{0, 1, 2, 3}};  // clockwise seen from -z
    XMaterial material;
    material.diffuse = colour;
    material.emissive = {colour[0], colour[1], colour[2]};
    m.materials = {material};
    m.faceMaterials = {0};
    return m;
}

}  // namespace

std::vector<XFrame> FrameScene() {
    XFrame arm;
    arm.name = "Arm";
    arm.matrix[12] = 0.5f, arm.matrix[13] = 0.25f, arm.matrix[14] = -0.5f;
    arm.meshes = {Square("Pane", {0, 0, 1, 0.5f})};
    XFrame body;
    body.name = "Body";
    body.matrix[12] = -0.25f;
    body.meshes = {Square("Block", {1, 0, 0, 1})};
    body.children = {arm};
    return {body};
}

std::vector<uint8_t> FramesFile() { return Bytes(XFileText(FrameScene())); }

std::vector<uint8_t> CubeFile() { return Bytes(XFileText(CubeMesh())); }
std::vector<uint8_t> SphereFile() { return Bytes(XFileText(SphereMesh())); }
