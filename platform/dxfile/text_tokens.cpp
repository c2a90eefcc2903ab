#include "text_tokens.h"

namespace dxfile {
namespace {

constexpr size_t kMaxTokenBytes = 65536;

bool IsNameStart(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsNameChar(uint8_t c) { return IsNameStart(c) || IsDigit(c) || c == '-'; }

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "8-4-4-4-12" hexadecimal digits into a GUID; false for anything else.
bool ParseGuid(const std::string& s, GUID& g) {
    static constexpr int kGroups[5] = {8, 4, 4, 4, 12};
    std::string digits;
    size_t i = 0;
    for (int group = 0; group < 5; ++group) {
        for (int k = 0; k < kGroups[group]; ++k, ++i) {
            if (i >= s.size() || HexValue(uint8_t(s[i])) < 0) return false;
            digits.push_back(s[i]);
        }
        if (group < 4) {
            if (i >= s.size() || s[i] != '-') return false;
            ++i;
        }
    }
    if (i != s.size()) return false;
    auto hex = [&](size_t from, size_t count) {
        uint32_t v = 0;
        for (size_t k = 0; k < count; ++k) v = (v << 4) | uint32_t(HexValue(uint8_t(digits[from + k])));
        return v;
    };
    g.Data1 = hex(0, 8);
    g.Data2 = uint16_t(hex(8, 4));
    g.Data3 = uint16_t(hex(12, 4));
    for (int b = 0; b < 8; ++b) g.Data4[b] = uint8_t(hex(16 + 2 * size_t(b), 2));
    return true;
}

}  // namespace

const Token& TokenReader::Peek() {
    if (!hasAhead_) {
        ahead_ = Read();
        hasAhead_ = true;
    }
    return ahead_;
}

Token TokenReader::Next() {
    if (hasAhead_) {
        hasAhead_ = false;
        return std::move(ahead_);
    }
    return Read();
}

void TokenReader::SkipSpaceAndComments() {
    while (p_ < end_) {
        const uint8_t c = *p_;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            ++p_;
        } else if (c == '#' || (c == '/' && end_ - p_ >= 2 && p_[1] == '/')) {
            while (p_ < end_ && *p_ != '\n') ++p_;
        } else {
            return;
        }
    }
}

Token TokenReader::Read() {
    SkipSpaceAndComments();
    Token t;
    if (p_ >= end_) return t;
    const uint8_t c = *p_;
    auto single = [&](TokenKind kind) {
        ++p_;
        t.kind = kind;
        return t;
    };
    switch (c) {
        case '{':
            return single(TokenKind::LBrace);
        case '}':
            return single(TokenKind::RBrace);
        case '[':
            return single(TokenKind::LBracket);
        case ']':
            return single(TokenKind::RBracket);
        case ';':
            return single(TokenKind::Semicolon);
        case ',':
            return single(TokenKind::Comma);
        default:
            break;
    }
    t.kind = TokenKind::Error;
    if (c == '.' && end_ - p_ >= 3 && p_[1] == '.' && p_[2] == '.') {
        p_ += 3;
        t.kind = TokenKind::Ellipsis;
        return t;
    }
    if (c == '"') {
        const uint8_t* q = p_ + 1;
        while (q < end_ && *q != '"' && size_t(q - p_) <= kMaxTokenBytes) ++q;
        if (q >= end_ || *q != '"') return t;  // unterminated or too long
        t.text.assign(reinterpret_cast<const char*>(p_ + 1), size_t(q - p_ - 1));
        p_ = q + 1;
        t.kind = TokenKind::String;
        return t;
    }
    if (c == '<') {
        const uint8_t* q = p_ + 1;
        while (q < end_ && *q != '>' && q - p_ < 64) ++q;
        if (q >= end_ || *q != '>') return t;
        std::string inner;
        for (const uint8_t* r = p_ + 1; r < q; ++r)
            if (*r != ' ' && *r != '\t') inner.push_back(char(*r));
        if (!ParseGuid(inner, t.guid)) return t;
        p_ = q + 1;
        t.kind = TokenKind::Guid;
        return t;
    }
    if (IsNameStart(c)) {
        const uint8_t* q = p_;
        while (q < end_ && IsNameChar(*q) && size_t(q - p_) <= kMaxTokenBytes) ++q;
        if (size_t(q - p_) > kMaxTokenBytes) return t;
        t.text.assign(reinterpret_cast<const char*>(p_), size_t(q - p_));
        p_ = q;
        t.kind = TokenKind::Name;
        return t;
    }
    if (IsDigit(c) || c == '-' || c == '+' || c == '.') {
        const uint8_t* q = p_;
        bool isFloat = false;
        if (*q == '-' || *q == '+') ++q;
        size_t digits = 0;
        while (q < end_ && IsDigit(*q)) ++q, ++digits;
        if (q < end_ && *q == '.') {
            isFloat = true;
            ++q;
            while (q < end_ && IsDigit(*q)) ++q, ++digits;
        }
        if (digits == 0) return t;
        if (q < end_ && (*q == 'e' || *q == 'E')) {
            const uint8_t* e = q + 1;
            if (e < end_ && (*e == '-' || *e == '+')) ++e;
            if (e < end_ && IsDigit(*e)) {
                while (e < end_ && IsDigit(*e)) ++e;
                q = e;
                isFloat = true;
            }
        }
        if (size_t(q - p_) > 400) return t;
        t.text.assign(reinterpret_cast<const char*>(p_), size_t(q - p_));
        p_ = q;
        t.kind = isFloat ? TokenKind::Float : TokenKind::Integer;
        return t;
    }
    return t;
}

}  // namespace dxfile
