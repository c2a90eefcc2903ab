// RIFF/WAVE images built chunk by chunk for the reader's tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

struct WaveBytes {
    std::vector<uint8_t> bytes;
    WaveBytes& Id(const char* id) {
        bytes.insert(bytes.end(), id, id + 4);
        return *this;
    }
    WaveBytes& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    WaveBytes& U16(uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    WaveBytes& Fill(size_t n, uint8_t value) {
        bytes.insert(bytes.end(), n, value);
        return *this;
    }
    // A "fmt " chunk of that declared size holding a format (tag, channels, rate, bits).
    WaveBytes& Format(uint32_t size, uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
        const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
        Id("fmt ").U32(size).U16(tag).U16(channels).U32(rate).U32(rate * align).U16(align).U16(bits);
        return *this;
    }
    // "RIFF" with the size of what follows, and "WAVE".
    static WaveBytes Riff(uint32_t size) {
        WaveBytes w;
        w.Id("RIFF").U32(size).Id("WAVE");
        return w;
    }
    void WriteTo(const std::string& path) const {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
};
