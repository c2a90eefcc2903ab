// The call log tests read: one line per call of the Direct3D object or a device, when enabled.
#pragma once

#include <sstream>
#include <type_traits>
#include <string>

#include "d3d9.h"
#include "d3d9/control.h"

namespace d3d9 {

bool CallLogEnabled();
void AppendCall(std::string line);

namespace detail {
inline void Put(std::ostringstream& out, D3DFORMAT format) { out << control::FormatName(format); }
inline void Put(std::ostringstream& out, D3DDEVTYPE type) { out << control::DeviceTypeName(type); }
inline void Put(std::ostringstream& out, const void* pointer) { out << (pointer ? "ptr" : "null"); }
inline void Put(std::ostringstream& out, float value) { out << value; }
template <typename T>
void Put(std::ostringstream& out, T value) {
    if constexpr (std::is_enum_v<T>)
        out << static_cast<long long>(value);
    else
        out << value;
}
}  // namespace detail

// LogCall("CheckDeviceType", adapter, type, ...) records "CheckDeviceType(0,HAL,...)".
template <typename... Args>
void LogCall(const char* name, Args... args) {
    if (!CallLogEnabled()) return;
    std::ostringstream out;
    out << name << '(';
    bool first = true;
    ((out << (first ? "" : ","), detail::Put(out, args), first = false), ...);
    out << ')';
    AppendCall(out.str());
}

}  // namespace d3d9
