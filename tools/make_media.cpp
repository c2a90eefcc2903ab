// Writes the program's media into the folder given as the only argument.
#include <cstdio>
#include <filesystem>

#include "blank_cursor.h"
#include "media_file.h"
#include "mesh_media.h"
#include "texture_media.h"

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
    // The program names these with both letter cases and a backslash; the layer finds them all in the
    // one "media" folder.
    written = WriteMediaFile(folder, "media/tile.bmp", TileFile()) && written;
    written = WriteMediaFile(folder, "media/grass.bmp", GrassFile()) && written;
    written = WriteMediaFile(folder, "media/shadow.bmp", ShadowFile()) && written;
    written = WriteMediaFile(folder, "media/cursor.dds", CursorFile()) && written;
    written = WriteMediaFile(folder, "media/frames.x", FramesFile()) && written;
    return written ? 0 : 1;
}
