// Little-endian byte writer for the binary resource formats (menu and dialog templates, accelerator
// tables, icons, RIFF/WAVE).
#pragma once

#include <cstdint>
#include <vector>

class ResourceWriter {
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
    void Short(int16_t value) { Word(static_cast<uint16_t>(value)); }
    void FourCC(const char* code) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(code[i]));
    }
    // 8-bit text widened to zero-terminated UTF-16 (the templates hold only ASCII).
    void WideText(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) Word(static_cast<uint8_t>(*c));
        Word(0);
    }
    // Pads with zeros up to the next multiple of `alignment` bytes from the start.
    void AlignTo(size_t alignment) {
        while (m_bytes.size() % alignment != 0) Byte(0);
    }
    void PatchDword(size_t offset, uint32_t value) {
        for (int i = 0; i < 4; ++i) m_bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
    size_t Size() const { return m_bytes.size(); }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};
