#include "xfile_writer.h"

#include <cstdio>

namespace {

std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", double(v));
    return text;
}

std::string Vector(const std::array<float, 3>& v) {
    return Number(v[0]) + ";" + Number(v[1]) + ";" + Number(v[2]) + ";";
}

// "n;" then the items, separated by "," and closed by ";".
template <typename Items, typename Write>
std::string List(const Items& items, Write write) {
    std::string s = "  " + std::to_string(items.size()) + ";\n";
    for (size_t i = 0; i < items.size(); ++i) s += "  " + write(items[i]) + (i + 1 < items.size() ? ",\n" : ";\n");
    if (items.empty()) s += "  ;\n";
    return s;
}

std::string Face(const std::vector<uint32_t>& face) {
    std::string s = std::to_string(face.size()) + ";";
    for (size_t i = 0; i < face.size(); ++i) s += std::to_string(face[i]) + (i + 1 < face.size() ? "," : ";");
    return s;
}

std::string MeshText(const XMesh& mesh) {
    std::string s = "Mesh " + mesh.name + " {\n";
    s += List(mesh.positions, Vector);
    s += List(mesh.faces, Face);
    if (!mesh.normals.empty()) {
        s += "  MeshNormals {\n" + List(mesh.normals, Vector) + List(mesh.faces, Face) + "  }\n";
    }
    if (!mesh.materials.empty()) {
        s += "  MeshMaterialList {\n  " + std::to_string(mesh.materials.size()) + ";\n";
        s += List(mesh.faceMaterials, [](uint32_t m) { return std::to_string(m); });
        for (const XMaterial& m : mesh.materials) {
            s += "    Material {\n";
            s += "      " + Number(m.diffuse[0]) + ";" + Number(m.diffuse[1]) + ";" + Number(m.diffuse[2]) + ";" +
                 Number(m.diffuse[3]) + ";;\n";
            s += "      " + Number(m.power) + ";\n";
            s += "      " + Vector(m.specular) + ";\n";
            s += "      " + Vector(m.emissive) + ";\n";
            if (!m.texture.empty()) s += "      TextureFilename { \"" + m.texture + "\"; }\n";
            s += "    }\n";
        }
        s += "  }\n";
    }
    s += "}\n";
    return s;
}

std::string FrameText(const XFrame& frame) {
    std::string s = "Frame " + frame.name + " {\n  FrameTransformMatrix {\n   ";
    for (size_t i = 0; i < frame.matrix.size(); ++i) s += " " + Number(frame.matrix[i]) + (i + 1 < 16 ? "," : ";;");
    s += "\n  }\n";
    for (const XMesh& m : frame.meshes) s += MeshText(m);
    for (const XFrame& child : frame.children) s += FrameText(child);
    s += "}\n";
    return s;
}

}  // namespace

std::string XFileText(const XMesh& mesh) { return "xof 0302txt 0032\n\n" + MeshText(mesh); }

std::string XFileText(const std::vector<XFrame>& frames) {
    std::string s = "xof 0302txt 0032\n\n";
    for (const XFrame& f : frames) s += FrameText(f);
    return s;
}
