// The media generator's files written into the test's working folder, one call per file.
#pragma once

#include <filesystem>
#include <cstring>
#include <string>
#include <vector>

#include "d3d9.h"

#include "media_file.h"
#include "mesh_media.h"
#include "texture_media.h"

inline void WriteSceneMedia(const std::string& relativePath) {
    const std::filesystem::path here = std::filesystem::current_path();
    if (relativePath == "media/grass.bmp") WriteMediaFile(here, relativePath, GrassFile());
    if (relativePath == "media/shadow.bmp") WriteMediaFile(here, relativePath, ShadowFile());
    if (relativePath == "media/tile.bmp") WriteMediaFile(here, relativePath, TileFile());
    if (relativePath == "media/cursor.dds") WriteMediaFile(here, relativePath, CursorFile());
    if (relativePath == "media/cube.x") WriteMediaFile(here, relativePath, CubeFile());
    if (relativePath == "media/sphere.x") WriteMediaFile(here, relativePath, SphereFile());
}

// Reads the vertices or indices of a buffer the scene object filled.
template <typename Element, typename Buffer>
std::vector<Element> BufferContents(Buffer* buffer, size_t count) {
    std::vector<Element> out(count);
    void* data = nullptr;
    if (!buffer || FAILED(buffer->Lock(0, 0, &data, D3DLOCK_READONLY)) || !data) return {};
    std::memcpy(out.data(), data, count * sizeof(Element));
    buffer->Unlock();
    return out;
}
