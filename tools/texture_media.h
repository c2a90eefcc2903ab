// The program's textures: the motion-blur squares' tile, the terrain's grass and shadow pictures, and
// the software cursor's arrow with its mip levels.
#pragma once

#include <cstdint>
#include <vector>

#include "image_files.h"

// "media/tile.bmp", 64 x 64: a terracotta tile with a bevelled edge and a white five-pointed star.
Picture TilePicture();
// "Media/grass.bmp", 64 x 64: a colour ramp by slope. The terrain samples it at (nx / 2 + 0.5,
// ny / 2 + 0.5): flat ground reads the bottom rows (lush grass), steep ground the middle (bare rock);
// the sunlit side of a slope (u toward 1) is a little lighter.
Picture GrassPicture();
// "Media/shadow.bmp", 64 x 64: a soft light map stretched once over the terrain: bright ground with a
// few blurred cloud shadows, darker toward the edges.
Picture ShadowPicture();
// "Media\cursor.dds": a 32 x 32 arrow pointer, white with a dark grey outline, its tip at the top-left
// texel, on opaque black (which the program's colour key makes transparent); levels 32 down to 1.
std::vector<Picture> CursorLevels();

std::vector<uint8_t> TileFile();
std::vector<uint8_t> GrassFile();
std::vector<uint8_t> ShadowFile();
std::vector<uint8_t> CursorFile();
