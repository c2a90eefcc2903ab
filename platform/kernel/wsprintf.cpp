// wsprintfA: the platform's own formatter. Fields are %[-][#][0][width][.precision][h|l]type with
// the types c, d, i, u, x, X and s; "%%" writes '%'; any other type character is written as it is.
// No floating point. The output holds at most 1,024 characters including the terminator.
#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <string>

#include "winbase.h"

namespace {

constexpr size_t kMaxOutput = 1024;  // characters including the terminator

class Output {
public:
    explicit Output(char* buffer) : buffer_(buffer) {}
    void Put(char c) {
        if (length_ + 1 < kMaxOutput) buffer_[length_++] = c;
    }
    void Put(const char* text, size_t count) {
        for (size_t i = 0; i < count; ++i) Put(text[i]);
    }
    void Pad(char c, size_t count) {
        for (size_t i = 0; i < count; ++i) Put(c);
    }
    int Finish() {
        buffer_[length_] = '\0';
        return static_cast<int>(length_);
    }

private:
    char* buffer_;
    size_t length_ = 0;
};

struct Field {
    bool left = false;
    bool prefix = false;  // '#': 0x / 0X before hexadecimal values
    bool zeros = false;
    size_t width = 0;
    bool hasPrecision = false;
    size_t precision = 0;
    char size = 0;  // 'h', 'l' or 0
};

// Writes `body` padded to the field's width; with '0' the zeros go after `lead` (sign or 0x).
void PutPadded(Output& out, const Field& field, const std::string& lead, const std::string& body) {
    size_t length = lead.size() + body.size();
    size_t padding = field.width > length ? field.width - length : 0;
    if (field.left) {
        out.Put(lead.data(), lead.size());
        out.Put(body.data(), body.size());
        out.Pad(' ', padding);
    } else if (field.zeros) {
        out.Put(lead.data(), lead.size());
        out.Pad('0', padding);
        out.Put(body.data(), body.size());
    } else {
        out.Pad(' ', padding);
        out.Put(lead.data(), lead.size());
        out.Put(body.data(), body.size());
    }
}

std::string Digits(uint32_t value, unsigned base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

void PutNumber(Output& out, const Field& field, char type, uint32_t bits) {
    std::string lead;
    uint32_t magnitude = bits;
    if (type == 'd' || type == 'i') {
        int32_t value = field.size == 'h' ? static_cast<int16_t>(bits) : static_cast<int32_t>(bits);
        if (value < 0) lead = "-";
        magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    } else if (field.size == 'h') {
        magnitude = static_cast<uint16_t>(bits);
    }
    bool hex = type == 'x' || type == 'X';
    if (hex && field.prefix) lead += (type == 'X') ? "0X" : "0x";
    std::string body = Digits(magnitude, hex ? 16 : 10, type == 'X');
    // The precision is the least number of digits.
    if (field.hasPrecision && body.size() < field.precision) body.insert(0, field.precision - body.size(), '0');
    PutPadded(out, field, lead, body);
}

}  // namespace

int WINAPI wvsprintfA(LPSTR lpOut, LPCSTR lpFmt, va_list arglist) {
    if (lpOut == nullptr) return 0;
    Output out(lpOut);
    if (lpFmt == nullptr) return out.Finish();
    const char* p = lpFmt;
    while (*p != '\0') {
        if (*p != '%') {
            out.Put(*p++);
            continue;
        }
        ++p;
        Field field;
        for (;; ++p) {
            if (*p == '-') field.left = true;
            else if (*p == '#') field.prefix = true;
            else if (*p == '0') field.zeros = true;
            else break;
        }
        while (*p >= '0' && *p <= '9') field.width = std::min<size_t>(field.width * 10 + (*p++ - '0'), kMaxOutput);
        if (*p == '.') {
            ++p;
            field.hasPrecision = true;
            while (*p >= '0' && *p <= '9')
                field.precision = std::min<size_t>(field.precision * 10 + (*p++ - '0'), kMaxOutput);
        }
        if (*p == 'h' || *p == 'l') field.size = *p++;
        const char type = *p;
        if (type == '\0') break;
        ++p;
        switch (type) {
            case 'c':
            case 'C': {
                char c = static_cast<char>(va_arg(arglist, int));
                PutPadded(out, Field{field.left, false, false, field.width}, "", std::string(1, c));
                break;
            }
            case 'd':
            case 'i':
            case 'u':
            case 'x':
            case 'X':
                // Integers are 32-bit on the platform, 'l' included.
                PutNumber(out, field, type, static_cast<uint32_t>(va_arg(arglist, int)));
                break;
            case 's': {
                const char* text = va_arg(arglist, const char*);
                if (text == nullptr) text = "(null)";
                size_t length = field.hasPrecision ? strnlen(text, field.precision) : std::strlen(text);
                PutPadded(out, Field{field.left, false, false, field.width}, "", std::string(text, length));
                break;
            }
            default: out.Put(type); break;  // "%%" and unknown types
        }
    }
    return out.Finish();
}

int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
    va_list arguments;
    va_start(arguments, lpFmt);
    int result = wvsprintfA(lpOut, lpFmt, arguments);
    va_end(arguments);
    return result;
}
