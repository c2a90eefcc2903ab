// Coarse comparison of captured frames with small reference pictures: frames are shrunk by averaging
// (or cut to a region) before they are compared, and two frames are close when their mean difference
// per channel is small and few pixels are far off. A black frame, a missing scene object or another
// scene is far; a change of a unit in rounding is not.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "showcase_run.h"

// The picture shrunk to width x height, each pixel the mean of the source pixels it covers.
FrameImage Shrunk(const FrameImage& image, int width, int height);
// The region of the picture from (left, top), of that size, clipped to the picture.
FrameImage Region(const FrameImage& image, int left, int top, int width, int height);
// Writes the picture as an 8-bit RGB PNG file; answers an empty text or why it cannot.
std::string WritePngImage(const std::filesystem::path& path, const FrameImage& image);

struct FrameDifference {
    bool sameSize = false;
    double meanDifference[3] = {};  // mean absolute difference of each channel, 0 to 255
    double farFraction = 0.0;       // the fraction of pixels with a channel off by more than kFarOff
};
constexpr int kFarOff = 48;
// The limits of "close": a channel's mean difference and the fraction of far pixels.
constexpr double kMeanLimit = 4.0;
constexpr double kFarLimit = 0.02;

FrameDifference Compare(const FrameImage& image, const FrameImage& reference);
bool Close(const FrameDifference& difference);
std::ostream& operator<<(std::ostream& out, const FrameDifference& difference);
