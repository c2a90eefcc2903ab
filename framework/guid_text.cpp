// GUID text in both directions.
#include "guid_text.h"

#include <cstdio>
#include <cstring>

#include "crtcompat.h"

namespace {
constexpr int kGuidTextCapacity = 39;  // 38 characters and the terminator
}  // namespace

HRESULT TextToGuid(const char* text, GUID* pGuid) {
    if (pGuid == nullptr) return E_INVALIDARG;
    std::memset(pGuid, 0, sizeof(GUID));
    if (text == nullptr) return E_FAIL;

    unsigned int data1 = 0;
    unsigned int fields[10] = {};
    int read = std::sscanf(text, "{%8X-%4X-%4X-%2X%2X-%2X%2X%2X%2X%2X%2X}", &data1, &fields[0], &fields[1],
                           &fields[2], &fields[3], &fields[4], &fields[5], &fields[6], &fields[7], &fields[8],
                           &fields[9]);
    if (read != 11) return E_FAIL;
    pGuid->Data1 = data1;
    pGuid->Data2 = static_cast<uint16_t>(fields[0] & 0xFFFF);
    pGuid->Data3 = static_cast<uint16_t>(fields[1] & 0xFFFF);
    for (int i = 0; i < 8; ++i) pGuid->Data4[i] = static_cast<uint8_t>(fields[2 + i] & 0xFF);
    return S_OK;
}

HRESULT GuidToText(const GUID* pGuid, char* text, int capacity) {
    if (pGuid == nullptr || text == nullptr || capacity < 1) return E_INVALIDARG;
    const uint8_t* d4 = pGuid->Data4;
    _snprintf(text, static_cast<size_t>(capacity), "{%.8X-%.4X-%.4X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X%.2X}",
              static_cast<unsigned int>(pGuid->Data1), static_cast<unsigned int>(pGuid->Data2),
              static_cast<unsigned int>(pGuid->Data3), static_cast<unsigned int>(d4[0]),
              static_cast<unsigned int>(d4[1]), static_cast<unsigned int>(d4[2]), static_cast<unsigned int>(d4[3]),
              static_cast<unsigned int>(d4[4]), static_cast<unsigned int>(d4[5]), static_cast<unsigned int>(d4[6]),
              static_cast<unsigned int>(d4[7]));
    // The platform's bounded format leaves a cut text unterminated.
    text[capacity - 1] = 0;
    return capacity < kGuidTextCapacity ? E_FAIL : S_OK;
}

HRESULT GuidToTextBytes(const GUID* pGuid, char* text, int capacityBytes) {
    return GuidToText(pGuid, text, capacityBytes);
}
