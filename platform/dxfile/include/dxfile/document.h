// What the X-file parser reads: templates and a tree of data objects, as plain data. The COM objects of
// dxfile.h hand these out; the parse itself knows nothing of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dxfile.h"

namespace dxfile {

// Limits that keep a malformed or hostile file from exhausting the machine.
constexpr size_t kMaxFileBytes = size_t(1) << 28;        // 256 MiB of text
constexpr int kMaxNesting = 64;                          // objects inside objects, members inside members
constexpr uint64_t kMaxObjectBytes = uint64_t(1) << 28;  // packed data of one object
constexpr uint64_t kMaxArrayElements = uint64_t(1) << 24;
// The work a parse may do (array elements, members and objects visited) grows with the bytes it reads:
// every element a file writes costs it at least a byte, so only elements without data (arrays of
// empty templates) come near the bound, and no small file can keep the parser busy for long.
constexpr uint64_t kStepsPerByte = 16;
constexpr uint64_t kBaseSteps = 4096;

enum class Primitive { None, Word, Dword, Float, Double, Char, Uchar, Byte, String };

struct Template;

struct Member {
    Primitive primitive = Primitive::None;  // None: a member of template type
    const Template* type = nullptr;
    std::string name;
    // Array dimensions: a fixed size, or the index of an earlier integer member holding it.
    struct Dimension {
        uint32_t fixed = 0;
        int memberIndex = -1;
    };
    std::vector<Dimension> dimensions;  // empty: not an array
};

struct Template {
    std::string name;
    GUID id{};
    std::vector<Member> members;
    // Children allowed: open (any), restricted (listed ids, and binary data when `binary`), or closed.
    enum class Children { Closed, Open, Restricted } children = Children::Closed;
    std::vector<GUID> allowed;
    bool binary = false;
};

// Whether two templates lay their data out alike: the same primitives, nested layouts and array sizes
// member by member, whatever the templates and members are called.
bool SameLayout(const Template& a, const Template& b);

// Templates by name, matched ignoring letter case as files in the wild expect; entries keep their
// address once added.
class TemplateSet {
public:
    const Template* Find(const std::string& name) const;
    // Adds or replaces nothing when a template of that name exists already (the first one stays).
    const Template* Add(std::unique_ptr<Template> t);
    // Hands every template over to `other` (those whose names it knows already are dropped).
    void MoveInto(TemplateSet& other);

private:
    std::map<std::string, std::unique_ptr<Template>> byName_;  // keyed by the lower-case name
};

struct DataObject;

struct Child {
    std::shared_ptr<DataObject> object;  // a data object, or
    std::string referenceName;           // a reference to one by name and/or GUID
    GUID referenceId{};
    bool isReference = false;
};

struct MemberSpan {
    size_t offset = 0;
    size_t size = 0;
};

struct DataObject {
    const Template* type = nullptr;
    std::string name;
    GUID id{};
    std::vector<uint8_t> data;                     // packed members
    std::map<std::string, MemberSpan> members;     // top-level members in the packed data
    std::vector<std::unique_ptr<char[]>> strings;  // text the packed string pointers point at
    std::vector<Child> children;
};

// A parsed file: its top-level objects in file order, every named object for references, and the error
// (if any) that stopped the parse after the last complete top-level object.
struct Document {
    std::shared_ptr<const TemplateSet> known;  // registered before the parse; may be null
    TemplateSet templates;                     // the file's own
    std::vector<std::shared_ptr<DataObject>> topLevel;
    HRESULT error = S_OK;

    // The data object a reference names: matched by name when one is given, by GUID otherwise; the
    // first in file order (depth first) wins.
    std::shared_ptr<DataObject> Resolve(const Child& reference) const;
    // Indexes every named object and every object with a GUID once the parse is over, so each
    // reference resolves without a walk over the whole file.
    void IndexObjects();

private:
    std::map<std::string, std::shared_ptr<DataObject>> byName_;
    std::map<std::string, std::shared_ptr<DataObject>> byId_;  // keyed by the GUID's 16 bytes
};

// Checks the 16-byte header: DXFILEERR_BADFILETYPE for what is not a text X file,
// DXFILEERR_BADFILEVERSION and DXFILEERR_BADFILEFLOATSIZE for the fields that do not fit.
HRESULT CheckHeader(const uint8_t* bytes, size_t size, bool* doubleFloats);

// Parses a whole text X file with the templates of doc.known and its own, which go to doc.templates.
// Answers the header's error; a later parse error is kept in doc.error, with the top-level objects
// read completely before it in doc.topLevel.
HRESULT ParseDocument(const uint8_t* bytes, size_t size, Document& doc);

// Parses templates only (for RegisterTemplates) into `set`; any data object or error fails it, and
// then nothing is added.
HRESULT ParseTemplates(const uint8_t* bytes, size_t size, TemplateSet& set);

// The template of a data object handed out by this parser; null for any other object.
const Template* TemplateOf(IDirectXFileData* data);

// Reads a file or program resource into memory, in the layer's path rules.
HRESULT ReadSource(LPVOID source, DXFILELOADOPTIONS options, std::vector<uint8_t>& bytes);

}  // namespace dxfile
