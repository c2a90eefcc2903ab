// Reads the program's registered resources back and walks their binary formats: little-endian
// fields, UTF-16 texts, alignment from the start of the resource. Reading past the end fails the test
// instead of reading out of bounds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "windows.h"

// The bytes of a resource of the program, found by type, name and language (0: any).
inline std::vector<uint8_t> ProgramResource(LPCSTR type, LPCSTR name, WORD language = 0) {
    HRSRC found = language == 0 ? FindResourceA(nullptr, name, type) : FindResourceExA(nullptr, type, name, language);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const DWORD size = SizeofResource(nullptr, found);
    const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    if (bytes == nullptr) return {};
    return std::vector<uint8_t>(bytes, bytes + size);
}

class ResourceReader {
public:
    explicit ResourceReader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    bool Failed() const { return m_failed; }
    size_t Offset() const { return m_offset; }
    bool AtEnd() const { return m_offset == m_bytes.size(); }

    uint8_t Byte() {
        if (m_offset >= m_bytes.size()) {
            m_failed = true;
            return 0;
        }
        return m_bytes[m_offset++];
    }
    uint16_t Word() {
        const uint16_t low = Byte();
        return static_cast<uint16_t>(low | (Byte() << 8));
    }
    uint32_t Dword() {
        const uint32_t low = Word();
        return low | (static_cast<uint32_t>(Word()) << 16);
    }
    int16_t Short() { return static_cast<int16_t>(Word()); }
    std::string FourCC() {
        std::string code;
        for (int i = 0; i < 4; ++i) code += static_cast<char>(Byte());
        return code;
    }
    // A zero-terminated UTF-16 text of ASCII characters.
    std::string WideText() {
        std::string text;
        for (uint16_t c = Word(); c != 0 && !m_failed; c = Word()) text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }
    void AlignTo(size_t alignment) {
        while (m_offset % alignment != 0 && !m_failed) Byte();
    }

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_offset = 0;
    bool m_failed = false;
};
