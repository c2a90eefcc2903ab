// The parser's COM objects. The file object holds the registered templates; an enumeration holds one
// parsed document, and every data object or reference handed out keeps that document alive.
#include <cstring>
#include <fstream>
#include <new>
#include <string_view>

#include "com/com_object.h"
#include "dxfile/document.h"
#include "kernel/paths.h"
#include "machine/failures.h"
#include "windows.h"

namespace dxfile {
namespace {

// A failure the machine injects at this use of the named call, or S_OK.
HRESULT Injected(std::string_view call) {
    if (auto code = machine::InjectedFailure(call)) return static_cast<HRESULT>(*code);
    return S_OK;
}

HRESULT CopyName(const std::string& name, LPSTR buffer, LPDWORD size) {
    if (!size) return DXFILEERR_BADVALUE;
    const DWORD needed = DWORD(name.size() + 1);
    if (!buffer) {
        *size = needed;
        return S_OK;
    }
    if (*size < needed) return DXFILEERR_BADVALUE;
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed;
    return S_OK;
}

HRESULT MakeData(const std::shared_ptr<const Document>& doc, std::shared_ptr<DataObject> object,
                 IDirectXFileData** out);

// A data object or a reference: QueryInterface fails where the machine injects a failure.
template <typename Interface, const IID& Id>
class FileObject : public com::ComObject<Interface, IID_IDirectXFileObject, Id> {
protected:
    HRESULT Query(REFIID riid, void** ppv) override {
        if (HRESULT hr = Injected("IDirectXFileObject::QueryInterface"); FAILED(hr)) return hr;
        return com::ComObject<Interface, IID_IDirectXFileObject, Id>::Query(riid, ppv);
    }
};

class DataReference final : public FileObject<IDirectXFileDataReference, IID_IDirectXFileDataReference> {
public:
    DataReference(std::shared_ptr<const Document> doc, const Child& child) : doc_(std::move(doc)), child_(child) {}

    HRESULT GetName(LPSTR buffer, LPDWORD size) override { return CopyName(child_.referenceName, buffer, size); }
    HRESULT GetId(LPGUID guid) override {
        if (!guid) return DXFILEERR_BADVALUE;
        *guid = child_.referenceId;
        return S_OK;
    }
    HRESULT Resolve(IDirectXFileData** out) override {
        if (!out) return DXFILEERR_BADVALUE;
        std::shared_ptr<DataObject> target = doc_->Resolve(child_);
        if (!target) return DXFILEERR_BADDATAREFERENCE;
        return MakeData(doc_, std::move(target), out);
    }

private:
    std::shared_ptr<const Document> doc_;
    Child child_;
};

class FileData final : public FileObject<IDirectXFileData, IID_IDirectXFileData> {
public:
    FileData(std::shared_ptr<const Document> doc, std::shared_ptr<DataObject> object)
        : doc_(std::move(doc)), object_(std::move(object)) {}

    HRESULT GetName(LPSTR buffer, LPDWORD size) override {
        if (HRESULT hr = Injected("IDirectXFileData::GetName"); FAILED(hr)) return hr;
        return CopyName(object_->name, buffer, size);
    }
    HRESULT GetId(LPGUID guid) override {
        if (!guid) return DXFILEERR_BADVALUE;
        *guid = object_->id;
        return S_OK;
    }
    HRESULT GetData(LPCSTR member, DWORD* size, void** data) override {
        if (!size || !data) return DXFILEERR_BADVALUE;
        if (HRESULT hr = Injected("IDirectXFileData::GetData"); FAILED(hr)) return hr;
        size_t offset = 0;
        size_t bytes = object_->data.size();
        if (member) {
            auto it = object_->members.find(member);
            if (it == object_->members.end()) return DXFILEERR_NOTFOUND;
            offset = it->second.offset;
            bytes = it->second.size;
        }
        *size = DWORD(bytes);
        *data = bytes ? object_->data.data() + offset : nullptr;
        return S_OK;
    }
    HRESULT GetType(const GUID** type) override {
        if (!type) return DXFILEERR_BADVALUE;
        if (HRESULT hr = Injected("IDirectXFileData::GetType"); FAILED(hr)) return hr;
        *type = &object_->type->id;
        return S_OK;
    }
    const Template* Type() const { return object_->type; }
    HRESULT GetNextObject(IDirectXFileObject** out) override {
        if (!out) return DXFILEERR_BADVALUE;
        if (HRESULT hr = Injected("IDirectXFileData::GetNextObject"); FAILED(hr)) return hr;
        if (next_ >= object_->children.size()) return DXFILEERR_NOMOREOBJECTS;
        const Child& child = object_->children[next_];
        IDirectXFileObject* made = nullptr;
        if (child.isReference) {
            made = new (std::nothrow) DataReference(doc_, child);
        } else {
            made = new (std::nothrow) FileData(doc_, child.object);
        }
        if (!made) return DXFILEERR_BADALLOC;
        ++next_;
        *out = made;
        return S_OK;
    }

private:
    std::shared_ptr<const Document> doc_;
    std::shared_ptr<DataObject> object_;
    size_t next_ = 0;
};

HRESULT MakeData(const std::shared_ptr<const Document>& doc, std::shared_ptr<DataObject> object,
                 IDirectXFileData** out) {
    auto* data = new (std::nothrow) FileData(doc, std::move(object));
    if (!data) return DXFILEERR_BADALLOC;
    *out = data;
    return S_OK;
}

class EnumObject final : public com::ComObject<IDirectXFileEnumObject, IID_IDirectXFileEnumObject> {
public:
    explicit EnumObject(std::shared_ptr<const Document> doc) : doc_(std::move(doc)) {}

    HRESULT GetNextDataObject(IDirectXFileData** out) override {
        if (!out) return DXFILEERR_BADVALUE;
        if (HRESULT hr = Injected("IDirectXFileEnumObject::GetNextDataObject"); FAILED(hr)) return hr;
        if (next_ >= doc_->topLevel.size()) return FAILED(doc_->error) ? doc_->error : DXFILEERR_NOMOREOBJECTS;
        HRESULT hr = MakeData(doc_, doc_->topLevel[next_], out);
        if (SUCCEEDED(hr)) ++next_;
        return hr;
    }
    HRESULT GetDataObjectById(REFGUID id, IDirectXFileData** out) override {
        if (!out) return DXFILEERR_BADVALUE;
        for (const auto& o : doc_->topLevel)
            if (IsEqualGUID(o->id, id)) return MakeData(doc_, o, out);
        return DXFILEERR_NOTFOUND;
    }
    HRESULT GetDataObjectByName(LPCSTR name, IDirectXFileData** out) override {
        if (!out || !name) return DXFILEERR_BADVALUE;
        for (const auto& o : doc_->topLevel)
            if (o->name == name) return MakeData(doc_, o, out);
        return DXFILEERR_NOTFOUND;
    }

private:
    std::shared_ptr<const Document> doc_;
    size_t next_ = 0;
};

class DirectXFile final : public com::ComObject<IDirectXFile, IID_IDirectXFile> {
public:
    HRESULT CreateEnumObject(LPVOID source, DXFILELOADOPTIONS options, IDirectXFileEnumObject** out) override {
        if (!out) return DXFILEERR_BADVALUE;
        *out = nullptr;
        if (HRESULT hr = Injected("IDirectXFile::CreateEnumObject"); FAILED(hr)) return hr;
        std::vector<uint8_t> bytes;
        if (HRESULT hr = ReadSource(source, options, bytes); FAILED(hr)) return hr;
        try {
            auto doc = std::make_shared<Document>();
            doc->known = templates_;
            if (HRESULT hr = ParseDocument(bytes.data(), bytes.size(), *doc); FAILED(hr)) return hr;
            auto* e = new EnumObject(std::move(doc));
            *out = e;
        } catch (const std::bad_alloc&) {
            return DXFILEERR_BADALLOC;
        }
        return S_OK;
    }
    HRESULT RegisterTemplates(LPVOID data, DWORD size) override {
        if (!data) return DXFILEERR_BADVALUE;
        if (HRESULT hr = Injected("IDirectXFile::RegisterTemplates"); FAILED(hr)) return hr;
        return ParseTemplates(static_cast<const uint8_t*>(data), size, *templates_);
    }

private:
    std::shared_ptr<TemplateSet> templates_ = std::make_shared<TemplateSet>();
};

}  // namespace

const Template* TemplateOf(IDirectXFileData* data) {
    const auto* ours = dynamic_cast<const FileData*>(data);
    return ours ? ours->Type() : nullptr;
}

HRESULT ReadSource(LPVOID source, DXFILELOADOPTIONS options, std::vector<uint8_t>& bytes) {
    if (!source) return DXFILEERR_BADVALUE;
    try {
        if (options == DXFILELOAD_FROMFILE) {
            const kernel::ResolvedPath path = kernel::ResolvePath(static_cast<const char*>(source));
            if (!path.Exists()) return DXFILEERR_FILENOTFOUND;
            std::ifstream in(path.path, std::ios::binary);
            if (!in) return DXFILEERR_FILENOTFOUND;
            in.seekg(0, std::ios::end);
            const std::streamoff length = in.tellg();
            if (length < 0) return DXFILEERR_BADFILE;
            if (uint64_t(length) > kMaxFileBytes) return DXFILEERR_BADFILE;
            in.seekg(0);
            bytes.resize(size_t(length));
            if (length > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), length)) return DXFILEERR_BADFILE;
            return S_OK;
        }
        if (options == DXFILELOAD_FROMRESOURCE) {
            const auto* r = static_cast<const DXFILELOADRESOURCE*>(source);
            HRSRC info = FindResourceA(r->hModule, r->lpName, r->lpType);
            if (!info) return DXFILEERR_RESOURCENOTFOUND;
            HGLOBAL loaded = LoadResource(r->hModule, info);
            const void* p = loaded ? LockResource(loaded) : nullptr;
            const DWORD length = SizeofResource(r->hModule, info);
            if (!p && length) return DXFILEERR_BADRESOURCE;
            if (length > kMaxFileBytes) return DXFILEERR_BADRESOURCE;
            const auto* b = static_cast<const uint8_t*>(p);
            bytes.assign(b, b + length);
            return S_OK;
        }
    } catch (const std::bad_alloc&) {
        return DXFILEERR_BADALLOC;
    }
    return DXFILEERR_BADVALUE;
}

}  // namespace dxfile

HRESULT WINAPI DirectXFileCreate(LPDIRECTXFILE* out) {
    if (!out) return DXFILEERR_BADVALUE;
    *out = nullptr;
    if (HRESULT hr = dxfile::Injected("DirectXFileCreate"); FAILED(hr)) return hr;
    auto* file = new (std::nothrow) dxfile::DirectXFile();
    *out = file;
    return file ? S_OK : DXFILEERR_BADALLOC;
}
