#include "media_file.h"

#include <cstdio>
#include <fstream>
#include <system_error>

bool WriteMediaFile(const std::filesystem::path& folder, const std::string& relativePath,
                    const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = folder / relativePath;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        std::fprintf(stderr, "make_media: cannot create %s: %s\n", path.parent_path().c_str(),
                     error.message().c_str());
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_media: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
