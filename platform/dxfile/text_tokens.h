// Tokens of the X file's text encoding: names, numbers, strings, GUIDs and punctuation. Comments run
// from "#" or "//" to the end of the line. The reader never looks past the end of its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "unknwn.h"

namespace dxfile {

enum class TokenKind {
    End,
    Error,
    Name,
    Integer,
    Float,
    String,
    Guid,
    LBrace,
    RBrace,
    LBracket,
    RBracket,
    Semicolon,
    Comma,
    Ellipsis
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // names, numbers and strings (without the quotes)
    GUID guid{};
};

class TokenReader {
public:
    TokenReader(const uint8_t* bytes, size_t size) : p_(bytes), end_(bytes + size) {}

    const Token& Peek();
    Token Next();

private:
    Token Read();
    void SkipSpaceAndComments();

    const uint8_t* p_;
    const uint8_t* end_;
    Token ahead_;
    bool hasAhead_ = false;
};

}  // namespace dxfile
