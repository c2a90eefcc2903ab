// A small JSON reader for the machine's run report: objects, arrays, strings (with \uXXXX escapes
// below 0x80 and the usual escapes), numbers, true, false and null.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    // The member of that name, or null when this is no object or has no such member.
    const JsonValue* Find(const std::string& name) const;
};

// The parsed document, or nothing when the text is not one complete JSON value.
std::optional<JsonValue> ParseJson(const std::string& text);
