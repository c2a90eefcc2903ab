// Writes the program's media into the folder given as the only argument.
#include <cstdio>
#include <filesystem>

#include "blank_cursor.h"
#include "media_file.h"
#include "mesh_media.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_media <output folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    bool written = true;
    written = WriteMediaFile(folder, "blank.cur", BlankCursorFile()) && written;
    written = WriteMediaFile(folder, "media/cube.x", CubeFile()) && written;
    written = WriteMediaFile(folder, "media/sphere.x", SphereFile()) && written;
    written = WriteMediaFile(folder, "media/frames.x", FramesFile()) && written;
    return written ? 0 : 1;
}
