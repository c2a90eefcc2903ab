// The wav sink's file: the recorded sound as a PCM RIFF/WAVE file in the recording's format.
#include <cerrno>
#include <cstring>
#include <fstream>

#include "audio_parts.h"

namespace machine::detail {
namespace {

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}
void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v);
    out += static_cast<char>(v >> 8);
}

}  // namespace

bool WriteWaveFile(const std::string& path, const AudioFormat& format, const std::vector<int16_t>& samples,
                   std::string& error) {
    const uint16_t bytesPerSample = format.bits == 8 ? 1 : 2;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * bytesPerSample;
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 36 + dataBytes + (dataBytes & 1));
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, format.channels);
    Put32(out, format.rate);
    Put32(out, format.rate * format.channels * bytesPerSample);
    Put16(out, static_cast<uint16_t>(format.channels * bytesPerSample));
    Put16(out, bytesPerSample * 8);
    out += "data";
    Put32(out, dataBytes);
    for (int16_t s : samples) {
        if (bytesPerSample == 1) out += static_cast<char>((s >> 8) + 128);
        else Put16(out, static_cast<uint16_t>(s));
    }
    if (dataBytes & 1) out += '\0';
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();  // what is still buffered fails here on a full disk
    if (!file) {
        error = "cannot write the audio file " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace machine::detail
