// Writing a frame as an 8-bit RGB PNG file.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "machine/machine.h"

namespace machine {

bool WritePng(const Frame& frame, const std::string& path, std::string& error) {
    if (frame.width == 0 || frame.height == 0 ||
        frame.pixels.size() < static_cast<size_t>(frame.width) * frame.height) {
        error = "the frame has no pixels";
        return false;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        error = "cannot open the file";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        error = "out of memory";
        return false;
    }
    // Rows are converted before libpng can jump back, so nothing with a destructor lives past setjmp.
    std::vector<png_byte> rgb(static_cast<size_t>(frame.width) * frame.height * 3);
    for (size_t i = 0; i < static_cast<size_t>(frame.width) * frame.height; ++i) {
        const uint32_t p = frame.pixels[i];
        rgb[i * 3 + 0] = static_cast<png_byte>(p >> 16);
        rgb[i * 3 + 1] = static_cast<png_byte>(p >> 8);
        rgb[i * 3 + 2] = static_cast<png_byte>(p);
    }
    std::vector<png_bytep> rows(frame.height);
    for (uint32_t y = 0; y < frame.height; ++y) rows[y] = &rgb[static_cast<size_t>(y) * frame.width * 3];
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "libpng failed";
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, frame.width, frame.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) {
        error = "cannot write the file";
        return false;
    }
    return true;
}

}  // namespace machine
