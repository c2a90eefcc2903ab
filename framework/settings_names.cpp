// The texts the settings dialog lists for device types, multisample types, vertex processing and
// present intervals.
#include "settings_dialog.h"

const char* DeviceTypeName(D3DDEVTYPE type) {
    switch (type) {
    case D3DDEVTYPE_HAL: return "D3DDEVTYPE_HAL";
    case D3DDEVTYPE_REF: return "D3DDEVTYPE_REF";
    case D3DDEVTYPE_SW: return "D3DDEVTYPE_SW";
    default: return "Unknown devType";
    }
}

const char* MultisampleTypeName(D3DMULTISAMPLE_TYPE type) {
    static const char* const kNames[] = {
        "D3DMULTISAMPLE_NONE",       "D3DMULTISAMPLE_NONMASKABLE", "D3DMULTISAMPLE_2_SAMPLES",
        "D3DMULTISAMPLE_3_SAMPLES",  "D3DMULTISAMPLE_4_SAMPLES",   "D3DMULTISAMPLE_5_SAMPLES",
        "D3DMULTISAMPLE_6_SAMPLES",  "D3DMULTISAMPLE_7_SAMPLES",   "D3DMULTISAMPLE_8_SAMPLES",
        "D3DMULTISAMPLE_9_SAMPLES",  "D3DMULTISAMPLE_10_SAMPLES",  "D3DMULTISAMPLE_11_SAMPLES",
        "D3DMULTISAMPLE_12_SAMPLES", "D3DMULTISAMPLE_13_SAMPLES",  "D3DMULTISAMPLE_14_SAMPLES",
        "D3DMULTISAMPLE_15_SAMPLES", "D3DMULTISAMPLE_16_SAMPLES",
    };
    const auto index = static_cast<unsigned>(type);
    return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "Unknown Multisample Type";
}

const char* VertexProcessingTypeName(VertexProcessingType type) {
    switch (type) {
    case SOFTWARE_VP: return "SOFTWARE_VP";
    case MIXED_VP: return "MIXED_VP";
    case HARDWARE_VP: return "HARDWARE_VP";
    case PURE_HARDWARE_VP: return "PURE_HARDWARE_VP";
    default: return "Unknown VertexProcessingType";
    }
}

const char* PresentIntervalName(UINT interval) {
    switch (interval) {
    case D3DPRESENT_INTERVAL_DEFAULT: return "D3DPRESENT_INTERVAL_DEFAULT";
    case D3DPRESENT_INTERVAL_ONE: return "D3DPRESENT_INTERVAL_ONE";
    case D3DPRESENT_INTERVAL_TWO: return "D3DPRESENT_INTERVAL_TWO";
    case D3DPRESENT_INTERVAL_THREE: return "D3DPRESENT_INTERVAL_THREE";
    case D3DPRESENT_INTERVAL_FOUR: return "D3DPRESENT_INTERVAL_FOUR";
    case static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE): return "D3DPRESENT_INTERVAL_IMMEDIATE";
    default: return "Unknown PresentInterval";
    }
}
