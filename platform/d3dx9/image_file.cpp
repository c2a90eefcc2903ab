// Reading an image file whole and handing it to the reader its signature names.
#include "d3dx9/image_file.h"

#include <filesystem>
#include <fstream>

#include "kernel/paths.h"

namespace d3dx9 {

namespace {
// Larger files are refused rather than read: no image the readers accept needs more.
constexpr uintmax_t kMaxFileBytes = uintmax_t(1) << 28;
}  // namespace

HRESULT DecodeImage(const uint8_t* data, size_t size, DecodedImage& image) {
    if (data && size >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size, image);
    if (data && size >= 4 && data[0] == 'D' && data[1] == 'D' && data[2] == 'S' && data[3] == ' ')
        return DecodeDds(data, size, image);
    return D3DXERR_INVALIDDATA;
}

HRESULT DecodeImageFile(const std::string& programPath, DecodedImage& image) {
    const kernel::ResolvedPath resolved = kernel::ResolvePath(programPath);
    if (!resolved.Exists()) return D3DXERR_INVALIDDATA;
    std::error_code error;
    if (!std::filesystem::is_regular_file(resolved.path, error)) return D3DXERR_INVALIDDATA;
    const uintmax_t size = std::filesystem::file_size(resolved.path, error);
    if (error || size > kMaxFileBytes) return D3DXERR_INVALIDDATA;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    std::ifstream file(resolved.path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return D3DXERR_INVALIDDATA;
    return DecodeImage(bytes.data(), bytes.size(), image);
}

}  // namespace d3dx9
