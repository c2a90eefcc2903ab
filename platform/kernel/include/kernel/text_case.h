// Letter case as the platform's 8-bit functions see it for names: A-Z against a-z.
#pragma once

#include <string>
#include <string_view>

namespace kernel {

inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    return true;
}

inline std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = ToLowerAscii(c);
    return result;
}

}  // namespace kernel
