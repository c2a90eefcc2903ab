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
namespace {

std::string Lower(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool EqualIgnoringCase(const std::string& a, const char* b) { return Lower(a) == Lower(b); }

std::string GuidKey(const GUID& g) { return std::string(reinterpret_cast<const char*>(&g), sizeof g); }

bool SameLayoutAt(const Template& a, const Template& b, int depth) {
    if (&a == &b) return true;
    if (depth >= kMaxNesting || a.members.size() != b.members.size()) return false;
    for (size_t i = 0; i < a.members.size(); ++i) {
        const Member& x = a.members[i];
        const Member& y = b.members[i];
        if (x.primitive != y.primitive || x.dimensions.size() != y.dimensions.size()) return false;
        for (size_t d = 0; d < x.dimensions.size(); ++d)
            if (x.dimensions[d].fixed != y.dimensions[d].fixed ||
                x.dimensions[d].memberIndex != y.dimensions[d].memberIndex)
                return false;
        if (x.primitive == Primitive::None && !SameLayoutAt(*x.type, *y.type, depth + 1)) return false;
    }
    return true;
}

}  // namespace

bool SameLayout(const Template& a, const Template& b) { return SameLayoutAt(a, b, 0); }

const Template* TemplateSet::Find(const std::string& name) const {
    auto it = byName_.find(Lower(name));
    return it == byName_.end() ? nullptr : it->second.get();
}

const Template* TemplateSet::Add(std::unique_ptr<Template> t) {
    const std::string key = Lower(t->name);
    auto it = byName_.find(key);
    if (it != byName_.end()) return it->second.get();
    const Template* added = t.get();
    byName_.emplace(key, std::move(t));
    return added;
}

void TemplateSet::MoveInto(TemplateSet& other) {
    for (auto& [name, t] : byName_) other.Add(std::move(t));
    byName_.clear();
}

void Document::IndexObjects() {
    byName_.clear();
    byId_.clear();
    // Depth first in file order, so the first object of a name or GUID is the one kept. An explicit
    // stack: the parse bounds the nesting, but the index needs no recursion at all.
    std::vector<std::shared_ptr<DataObject>> order;
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) order.push_back(*it);
    while (!order.empty()) {
        std::shared_ptr<DataObject> o = std::move(order.back());
        order.pop_back();
        if (!o->name.empty()) byName_.emplace(o->name, o);
        if (!IsEqualGUID(o->id, GUID_NULL)) byId_.emplace(GuidKey(o->id), o);
        for (auto c = o->children.rbegin(); c != o->children.rend(); ++c)
            if (c->object) order.push_back(c->object);
    }
}

std::shared_ptr<DataObject> Document::Resolve(const Child& reference) const {
    if (!reference.referenceName.empty()) {
        auto it = byName_.find(reference.referenceName);
        return it == byName_.end() ? nullptr : it->second;
    }
    auto it = byId_.find(GuidKey(reference.referenceId));
    return it == byId_.end() ? nullptr : it->second;
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

bool IsIntegerPrimitive(Primitive p) {
    return p == Primitive::Word || p == Primitive::Dword || p == Primitive::Char || p == Primitive::Uchar ||
           p == Primitive::Byte;
}

Primitive PrimitiveByName(const std::string& name) {
    const std::string n = Lower(name);
    if (n == "word") return Primitive::Word;
    if (n == "dword") return Primitive::Dword;
    if (n == "float") return Primitive::Float;
    if (n == "double") return Primitive::Double;
    if (n == "char") return Primitive::Char;
    if (n == "uchar") return Primitive::Uchar;
    if (n == "byte") return Primitive::Byte;
    if (n == "string" || n == "cstring" || n == "lpstr") return Primitive::String;
    return Primitive::None;
}

class Parser {
public:
    Parser(const uint8_t* bytes, size_t size, Document& doc)
        : tokens_(bytes, size), doc_(doc), budget_(kBaseSteps + kStepsPerByte * uint64_t(size)) {}

    // Everything after the header; objects go to doc.topLevel unless templatesOnly.
    HRESULT Run(bool templatesOnly) {
        for (;;) {
            const Token& t = tokens_.Peek();
            if (t.kind == TokenKind::End) return S_OK;
            if (t.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
            if (EqualIgnoringCase(t.text, "template")) {
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
            const bool isArray = EqualIgnoringCase(m.text, "array");
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
            if (!Step()) return DXFILEERR_BADVALUE;
            Token n = tokens_.Next();
            if (n.kind != TokenKind::Name) return DXFILEERR_PARSEERROR;
            if (tokens_.Peek().kind != TokenKind::Guid && EqualIgnoringCase(n.text, "binary") &&
                !FindTemplate(n.text)) {
                // Binary data objects (which only the binary encoding holds) may be children.
                t.binary = true;
            } else if (tokens_.Peek().kind == TokenKind::Guid) {
                t.allowed.push_back(tokens_.Next().guid);
            } else {
                const Template* known = FindTemplate(n.text);
                if (!known) return DXFILEERR_NOTEMPLATE;
                t.allowed.push_back(known->id);
            }
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
                // A reference stands for a data object: none may stand where only binary data may.
                if (type->children == Template::Children::Closed ||
                    (type->children == Template::Children::Restricted && type->allowed.empty()))
                    return DXFILEERR_BADOBJECT;
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
                if (!Step()) return DXFILEERR_BADARRAYSIZE;
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

    // One unit of work; false once the file's budget is spent.
    bool Step() { return ++steps_ <= budget_; }

    TokenReader tokens_;
    Document& doc_;
    uint64_t steps_ = 0;
    uint64_t budget_;
};

}  // namespace

HRESULT ParseDocument(const uint8_t* bytes, size_t size, Document& doc) {
    // FLOAT members are packed as 4 bytes whatever the header's float size says.
    if (HRESULT hr = CheckHeader(bytes, size, nullptr); FAILED(hr)) return hr;
    try {
        Parser parser(bytes + 16, size - 16, doc);
        doc.error = parser.Run(false);
        doc.IndexObjects();
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
