#include "json_value.h"

#include <cstdlib>

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : m_text(text) {}

    bool Document(JsonValue& value) {
        if (!Value(value)) return false;
        SkipSpace();
        return m_position == m_text.size();
    }

private:
    void SkipSpace() {
        while (m_position < m_text.size() && (m_text[m_position] == ' ' || m_text[m_position] == '\n' ||
                                              m_text[m_position] == '\r' || m_text[m_position] == '\t')) {
            ++m_position;
        }
    }
    bool Take(char c) {
        SkipSpace();
        if (m_position < m_text.size() && m_text[m_position] == c) {
            ++m_position;
            return true;
        }
        return false;
    }
    bool Word(const char* word) {
        const std::string w(word);
        if (m_text.compare(m_position, w.size(), w) != 0) return false;
        m_position += w.size();
        return true;
    }

    bool Value(JsonValue& value) {
        if (++m_depth > 64) return false;
        SkipSpace();
        bool ok = false;
        if (m_position >= m_text.size()) {
            ok = false;
        } else if (m_text[m_position] == '{') {
            ok = Object(value);
        } else if (m_text[m_position] == '[') {
            ok = Array(value);
        } else if (m_text[m_position] == '"') {
            value.kind = JsonValue::Kind::String;
            ok = String(value.text);
        } else if (Word("true")) {
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = ok = true;
        } else if (Word("false")) {
            value.kind = JsonValue::Kind::Boolean;
            ok = true;
        } else if (Word("null")) {
            ok = true;
        } else {
            ok = Number(value);
        }
        --m_depth;
        return ok;
    }

    bool Object(JsonValue& value) {
        value.kind = JsonValue::Kind::Object;
        Take('{');
        if (Take('}')) return true;
        do {
            std::string name;
            SkipSpace();
            if (!String(name) || !Take(':')) return false;
            JsonValue member;
            if (!Value(member)) return false;
            value.members[name] = std::move(member);
        } while (Take(','));
        return Take('}');
    }

    bool Array(JsonValue& value) {
        value.kind = JsonValue::Kind::Array;
        Take('[');
        if (Take(']')) return true;
        do {
            JsonValue item;
            if (!Value(item)) return false;
            value.items.push_back(std::move(item));
        } while (Take(','));
        return Take(']');
    }

    bool String(std::string& out) {
        if (m_position >= m_text.size() || m_text[m_position] != '"') return false;
        ++m_position;
        while (m_position < m_text.size()) {
            const char c = m_text[m_position++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_position >= m_text.size()) return false;
            const char escape = m_text[m_position++];
            switch (escape) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                if (m_position + 4 > m_text.size()) return false;
                const std::string digits = m_text.substr(m_position, 4);
                char* end = nullptr;
                const long code = std::strtol(digits.c_str(), &end, 16);
                if (end != digits.c_str() + 4) return false;
                m_position += 4;
                out += code < 0x80 ? static_cast<char>(code) : '?';
                break;
            }
            default: return false;
            }
        }
        return false;
    }

    bool Number(JsonValue& value) {
        const char* start = m_text.c_str() + m_position;
        char* end = nullptr;
        value.number = std::strtod(start, &end);
        if (end == start) return false;
        value.kind = JsonValue::Kind::Number;
        m_position += static_cast<size_t>(end - start);
        return true;
    }

    const std::string& m_text;
    size_t m_position = 0;
    int m_depth = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(const std::string& name) const {
    if (kind != Kind::Object) return nullptr;
    const auto found = members.find(name);
    return found == members.end() ? nullptr : &found->second;
}

std::optional<JsonValue> ParseJson(const std::string& text) {
    JsonValue value;
    Parser parser(text);
    if (!parser.Document(value)) return std::nullopt;
    return value;
}
