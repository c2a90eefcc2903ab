// The text encoding: the header, templates and data objects, each data object's members packed as its
// template lays them out.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "dxfile/document.h"
#include "text_tokens.h"

namespace dxfile {

const Template* TemplateSet::Find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second.get();
}

const Template* TemplateSet::Add(std::unique_ptr<Template> t) {
    auto it = byName_.find(t->name);
    if (it != byName_.end()) return it->second.get();
    const Template* added = t.get();
    byName_.emplace(t->name, std::move(t));
    return added;
}

void TemplateSet::MoveInto(TemplateSet& other) {
    for (auto& [name, t] : byName_) other.Add(std::move(t));
    byName_.clear();
}

std::shared_ptr<DataObject> Document::Resolve(const Child& reference) const {
    std::shared_ptr<DataObject> found;
    // Depth-first in file order; the first match wins.
    auto visit = [&](auto&& self, const std::shared_ptr<DataObject>& o) -> bool {
        const bool match = reference.referenceName.empty() ? IsEqualGUID(o->id, reference.referenceId)
                                                           : o->name == reference.referenceName;
        if (match) {
            found = o;
            return true;
        }
        for (const Child& c : o->children)
            if (c.object && self(self, c.object)) return true;
        return false;
    };
    for (const auto& o : topLevel)
        if (visit(visit, o)) break;
    return found;
}

HRESULT CheckHeader(const uint8_t* bytes, size_t size, bool* doubleFloats) {
    if (!bytes || size < 16 || std::memcmp(bytes, "xof ", 4) != 0) return DXFILEERR_BADFILETYPE;
    if (std::memcmp(bytes + 4, "0302", 4) != 0 && std::memcmp(bytes + 4, "0303", 4) != 0)
        return DXFILEERR_BADFILEVERSION;
    if (std::memcmp(bytes + 8, "txt ", 4) != 0) return DXFILEERR_BADFILETYPE;  // binary or compressed
    const bool is32 = std::memcmp(bytes + 12, "0032", 4) == 0;
    const bool is64 = std::memcmp(bytes + 12, "0064", 4) == 0;
    if (!is32 && !is64) return DXFILEERR_BADFILEFLOATSIZE;
    if (doubleFloats) *doubleFloats = is64;
    return S_OK;
}

namespace {

constexpr uint64_t kMaxParseSteps = uint64_t(1) << 26;

bool IsIntegerPrimitive(Primitive p) {
    return p == Primitive::Word || p == Primitive::Dword || p == Primitive::Char || p == Primitive::Uchar ||
           p == Primitive::Byte;
}

Primitive PrimitiveByName(const std::string& n) {
    if (n == "WORD") return Primitive::Word;
    if (n == "DWORD") return Primitive::Dword;
    if (n == "FLOAT") return Primitive::Float;
    if (n == "DOUBLE") return Primitive::Double;
    if (n == "CHAR") return Primitive::Char;
    if (n == "UCHAR") return Primitive::Uchar;
    if (n == "BYTE") return Primitive::Byte;
    if (n == "STRING" || n == "CSTRING" || n == "LPSTR") return Primitive::String;
    return Primitive::None;
}

class Parser {
public:
    Parser(const uint8_t* bytes, size_t size, Document& doc) : tokens_(bytes, size), doc_(doc) {}

    // Everything after the header; objects go to doc.topLevel unless templatesOnly.
    HRESULT Run(bool templatesOnly) {
        for (;;) {
            const Token& t = tokens_.Peek();
            if (t.kind == TokenKind::End) return S_OK;
            if (t.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
            if (t.text == "template") {
                tokens_.Next();
                if (HRESULT hr = ParseTemplate(); FAILED(hr)) return hr;
                continue;
            }
            if (templatesOnly) return DXFILEERR_PARSEERROR;
            std::shared_ptr<DataObject> object;
            if (HRESULT hr = ParseObject(0, nullptr, object); FAILED(hr)) return hr;
            doc_.topLevel.push_back(std::move(object));
        }
    }

private:
    const Template* FindTemplate(const std::string& name) const {
        if (const Template* t = doc_.templates.Find(name)) return t;
        return doc_.known ? doc_.known->Find(name) : nullptr;
    }

    bool Accept(TokenKind kind) {
        if (tokens_.Peek().kind != kind) return false;
        tokens_.Next();
        return true;
    }

    void SkipSeparators() {
        while (tokens_.Peek().kind == TokenKind::Semicolon || tokens_.Peek().kind == TokenKind::Comma) tokens_.Next();
    }

    HRESULT ParseTemplate() {
        auto t = std::make_unique<Template>();
        Token name = tokens_.Next();
        if (name.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
        t->name = name.text;
        if (!Accept(TokenKind::LBrace)) return DXFILEERR_PARSEERROR;
        Token id = tokens_.Next();
        if (id.kind != TokenKind::Guid) return DXFILEERR_PARSEERROR;
        t->id = id.guid;
        for (;;) {
            Token m = tokens_.Next();
            if (m.kind == TokenKind::RBrace) break;
            if (m.kind == TokenKind::LBracket) {
                if (HRESULT hr = ParseRestrictions(*t); FAILED(hr)) return hr;
                if (!Accept(TokenKind::RBrace)) return DXFILEERR_PARSEERROR;
                break;
            }
            if (m.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
            if (t->members.size() >= 256) return DXFILEERR_BADVALUE;
            Member member;
            const bool isArray = m.text == "array";
            if (isArray) {
                m = tokens_.Next();
                if (m.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
            }
            member.primitive = PrimitiveByName(m.text);
            if (member.primitive == Primitive::None) {
                member.type = FindTemplate(m.text);
                if (!member.type) return DXFILEERR_NOTEMPLATE;
            }
            if (tokens_.Peek().kind == TokenKind::Name) member.name = tokens_.Next().text;
            while (isArray && Accept(TokenKind::LBracket)) {
                if (member.dimensions.size() >= 4) return DXFILEERR_BADARRAYSIZE;
                Token d = tokens_.Next();
                Member::Dimension dim;
                if (d.kind == TokenKind::Integer && d.text[0] != '-') {
                    errno = 0;
                    const unsigned long long v = std::strtoull(d.text.c_str(), nullptr, 10);
                    if (errno != 0 || v > kMaxArrayElements) return DXFILEERR_BADARRAYSIZE;
                    dim.fixed = uint32_t(v);
                } else if (d.kind == TokenKind::Name) {
                    for (size_t k = 0; k < t->members.size(); ++k) {
                        const Member& earlier = t->members[k];
                        if (earlier.name == d.text && earlier.dimensions.empty() &&
                            IsIntegerPrimitive(earlier.primitive))
                            dim.memberIndex = int(k);
                    }
                    if (dim.memberIndex < 0) return DXFILEERR_BADARRAYSIZE;
                } else {
                    return DXFILEERR_PARSEERROR;
                }
                member.dimensions.push_back(dim);
                if (!Accept(TokenKind::RBracket)) return DXFILEERR_PARSEERROR;
            }
            if (isArray && member.dimensions.empty()) return DXFILEERR_BADARRAYSIZE;
            if (!Accept(TokenKind::Semicolon)) return DXFILEERR_PARSEERROR;
            t->members.push_back(std::move(member));
        }
        // A template whose name is known already keeps its first definition (files often repeat the
        // standard ones).
        if (!FindTemplate(t->name)) doc_.templates.Add(std::move(t));
        return S_OK;
    }

    // After "[": "...]" opens the template; "Name [<guid>], ...]" restricts it.
    HRESULT ParseRestrictions(Template& t) {
        if (Accept(TokenKind::Ellipsis)) {
            t.children = Template::Children::Open;
            return Accept(TokenKind::RBracket) ? S_OK : DXFILEERR_PARSEERROR;
        }
        t.children = Template::Children::Restricted;
        for (;;) {
            Token n = tokens_.Next();
            if (n.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
            GUID id{};
            if (tokens_.Peek().kind == TokenKind::Guid) {
                id = tokens_.Next().guid;
            } else {
                const Template* known = FindTemplate(n.text);
                if (!known) return DXFILEERR_NOTEMPLATE;
                id = known->id;
            }
            t.allowed.push_back(id);
            if (Accept(TokenKind::RBracket)) return S_OK;
            if (!Accept(TokenKind::Comma)) return DXFILEERR_PARSEERROR;
        }
    }

    HRESULT ParseObject(int depth, const Template* parent, std::shared_ptr<DataObject>& out) {
        if (depth >= kMaxNesting) return DXFILEERR_BADOBJECT;
        Token typeName = tokens_.Next();
        if (typeName.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
        const Template* type = FindTemplate(typeName.text);
        if (!type) return DXFILEERR_NOTEMPLATE;
        if (parent && !ChildAllowed(*parent, *type)) return DXFILEERR_BADOBJECT;
        auto object = std::make_shared<DataObject>();
        object->type = type;
        if (tokens_.Peek().kind == TokenKind::Name) object->name = tokens_.Next().text;
        if (tokens_.Peek().kind == TokenKind::Guid) object->id = tokens_.Next().guid;
        if (!Accept(TokenKind::LBrace)) return DXFILEERR_PARSEERROR;
        if (HRESULT hr = ReadMembers(*type, *object, depth, true); FAILED(hr)) return hr;
        for (;;) {
            const Token& t = tokens_.Peek();
            if (t.kind == TokenKind::RBrace) {
                tokens_.Next();
                break;
            }
            if (object->children.size() >= kMaxArrayElements) return DXFILEERR_BADOBJECT;
            Child child;
            if (t.kind == TokenKind::LBrace) {
                tokens_.Next();
                if (type->children == Template::Children::Closed) return DXFILEERR_BADOBJECT;
                child.isReference = true;
                if (tokens_.Peek().kind == TokenKind::Name) child.referenceName = tokens_.Next().text;
                if (tokens_.Peek().kind == TokenKind::Guid) child.referenceId = tokens_.Next().guid;
                if (child.referenceName.empty() && IsEqualGUID(child.referenceId, GUID_NULL))
                    return DXFILEERR_BADDATAREFERENCE;
                if (!Accept(TokenKind::RBrace)) return DXFILEERR_PARSEERROR;
            } else if (t.kind == TokenKind::Name) {
                if (HRESULT hr = ParseObject(depth + 1, type, child.object); FAILED(hr)) return hr;
            } else {
                return t.kind == TokenKind::End ? DXFILEERR_NOMOREDATA : DXFILEERR_PARSEERROR;
            }
            object->children.push_back(std::move(child));
            SkipSeparators();
        }
        out = std::move(object);
        return S_OK;
    }

    static bool ChildAllowed(const Template& parent, const Template& child) {
        switch (parent.children) {
            case Template::Children::Open:
                return true;
            case Template::Children::Closed:
                return false;
            case Template::Children::Restricted:
                for (const GUID& g : parent.allowed)
                    if (IsEqualGUID(g, child.id)) return true;
                return false;
        }
        return false;
    }

    // One instance of a template's members into the object's packed data.
    HRESULT ReadMembers(const Template& type, DataObject& object, int depth, bool topLevel) {
        if (depth >= kMaxNesting) return DXFILEERR_BADOBJECT;
        std::vector<uint64_t> values(type.members.size(), 0);
        for (size_t i = 0; i < type.members.size(); ++i) {
            const Member& m = type.members[i];
            uint64_t count = 1;
            for (const Member::Dimension& d : m.dimensions) {
                const uint64_t n = d.memberIndex >= 0 ? values[size_t(d.memberIndex)] : d.fixed;
                if (n > kMaxArrayElements) return DXFILEERR_BADARRAYSIZE;
                count *= n;
                if (count > kMaxArrayElements) return DXFILEERR_BADARRAYSIZE;
            }
            const size_t start = object.data.size();
            for (uint64_t e = 0; e < count; ++e) {
                if (++steps_ > kMaxParseSteps) return DXFILEERR_BADARRAYSIZE;
                if (m.type) {
                    if (HRESULT hr = ReadMembers(*m.type, object, depth + 1, false); FAILED(hr)) return hr;
                } else {
                    uint64_t v = 0;
                    if (HRESULT hr = ReadPrimitive(m.primitive, object, &v); FAILED(hr)) return hr;
                    if (m.dimensions.empty()) values[i] = v;
                }
                SkipSeparators();
            }
            if (count == 0) SkipSeparators();
            if (topLevel && !m.name.empty())
                object.members.emplace(m.name, MemberSpan{start, object.data.size() - start});
        }
        return S_OK;
    }

    template <typename T>
    void Append(DataObject& object, T value) {
        const size_t at = object.data.size();
        object.data.resize(at + sizeof(T));
        std::memcpy(object.data.data() + at, &value, sizeof(T));
    }

    HRESULT ReadPrimitive(Primitive p, DataObject& object, uint64_t* integer) {
        if (object.data.size() + 8 > kMaxObjectBytes) return DXFILEERR_BADALLOC;
        Token t = tokens_.Next();
        if (t.kind == TokenKind::End) return DXFILEERR_NOMOREDATA;
        if (p == Primitive::String) {
            if (t.kind != TokenKind::String) return DXFILEERR_PARSEERROR;
            auto text = std::make_unique<char[]>(t.text.size() + 1);
            std::memcpy(text.get(), t.text.c_str(), t.text.size() + 1);
            Append<const char*>(object, text.get());
            object.strings.push_back(std::move(text));
            return S_OK;
        }
        if (p == Primitive::Float || p == Primitive::Double) {
            if (t.kind != TokenKind::Float && t.kind != TokenKind::Integer) return DXFILEERR_PARSEERROR;
            const double d = std::strtod(t.text.c_str(), nullptr);
            if (!std::isfinite(d)) return DXFILEERR_BADVALUE;
            if (p == Primitive::Double) {
                Append<double>(object, d);
            } else {
                if (std::fabs(d) > 3.4028234663852886e38) return DXFILEERR_BADVALUE;
                Append<float>(object, float(d));
            }
            return S_OK;
        }
        if (t.kind != TokenKind::Integer || t.text[0] == '-') return DXFILEERR_PARSEERROR;
        errno = 0;
        const unsigned long long v = std::strtoull(t.text.c_str(), nullptr, 10);
        const uint64_t limit = p == Primitive::Dword ? 0xFFFFFFFFull : p == Primitive::Word ? 0xFFFFull : 0xFFull;
        if (errno != 0 || v > limit) return DXFILEERR_BADVALUE;
        *integer = v;
        switch (p) {
            case Primitive::Dword:
                Append<uint32_t>(object, uint32_t(v));
                break;
            case Primitive::Word:
                Append<uint16_t>(object, uint16_t(v));
                break;
            default:
                Append<uint8_t>(object, uint8_t(v));
                break;
        }
        return S_OK;
    }

    TokenReader tokens_;
    Document& doc_;
    uint64_t steps_ = 0;
};

}  // namespace

HRESULT ParseDocument(const uint8_t* bytes, size_t size, Document& doc) {
    // FLOAT members are packed as 4 bytes whatever the header's float size says.
    if (HRESULT hr = CheckHeader(bytes, size, nullptr); FAILED(hr)) return hr;
    try {
        Parser parser(bytes + 16, size - 16, doc);
        doc.error = parser.Run(false);
    } catch (const std::bad_alloc&) {
        doc.error = DXFILEERR_BADALLOC;
    }
    return S_OK;
}

HRESULT ParseTemplates(const uint8_t* bytes, size_t size, TemplateSet& set) {
    if (HRESULT hr = CheckHeader(bytes, size, nullptr); FAILED(hr)) return hr;
    try {
        // Parse against what is registered already, then move the new templates over.
        Document doc;
        doc.known = std::shared_ptr<const TemplateSet>(&set, [](const TemplateSet*) {});
        Parser parser(bytes + 16, size - 16, doc);
        if (HRESULT hr = parser.Run(true); FAILED(hr)) return hr;
        doc.templates.MoveInto(set);
    } catch (const std::bad_alloc&) {
        return DXFILEERR_BADALLOC;
    }
    return S_OK;
}

}  // namespace dxfile
