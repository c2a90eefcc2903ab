// Writing one media file: little-endian fields into a byte buffer, then the buffer to disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class MediaBytes {
public:
    void Byte(uint8_t value) { m_bytes.push_back(value); }
    void Word(uint16_t value) {
        Byte(static_cast<uint8_t>(value));
        Byte(static_cast<uint8_t>(value >> 8));
    }
    void Dword(uint32_t value) {
        Word(static_cast<uint16_t>(value));
        Word(static_cast<uint16_t>(value >> 16));
    }
    void Repeat(uint8_t value, size_t count) { m_bytes.insert(m_bytes.end(), count, value); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// Writes the bytes to folder/relativePath, creating folders on the way; false with a message on
// standard error when that fails.
bool WriteMediaFile(const std::filesystem::path& folder, const std::string& relativePath,
                    const std::vector<uint8_t>& bytes);
