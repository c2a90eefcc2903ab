#include "surface.h"

#include <algorithm>
#include <cstring>

#include "device.h"
#include "format_info.h"
#include "pipeline/formats.h"

namespace d3d9 {

Surface::Surface(Device* device, const SurfaceDesc& desc, Owner owner, IUnknown* container)
    : ChildObject(device, desc.pool, owner != Owner::Self), desc_(desc), owner_(owner), container_(container) {
    const SurfaceLayout layout = LayoutOf(desc.format, desc.width, desc.height);
    pitch_ = layout.pitch;
    bytes_.assign(static_cast<size_t>(pitch_) * layout.rows, 0);
}

Surface::~Surface() { WaitForPipeline(); }

bool Surface::DrawnInto() const {
    return owner_ == Owner::Device || (desc_.usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) != 0;
}

void Surface::WaitForPipeline() const {
    if (DrawnInto()) OwnerDevice()->Queue().FlushWrites(bytes_.data(), bytes_.data() + bytes_.size());
}

ULONG Surface::AddRef() { return owner_ == Owner::Container ? container_->AddRef() : AddChildReference(); }

ULONG Surface::Release() { return owner_ == Owner::Container ? container_->Release() : ReleaseChildReference(); }

HRESULT Surface::GetDevice(IDirect3DDevice9** ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    OwnerDevice()->AddRef();
    *ppDevice = OwnerDevice();
    return D3D_OK;
}

DWORD Surface::SetPriority(DWORD PriorityNew) {
    DWORD previous = priority_;
    priority_ = PriorityNew;
    return previous;
}

DWORD Surface::GetPriority() { return priority_; }

// Every resource lives in memory the pipeline reads directly: there is nothing to load ahead.
void Surface::PreLoad() {}

D3DRESOURCETYPE Surface::GetType() { return D3DRTYPE_SURFACE; }

HRESULT Surface::GetDesc(D3DSURFACE_DESC* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    pDesc->Format = desc_.format;
    pDesc->Type = D3DRTYPE_SURFACE;
    pDesc->Usage = desc_.usage;
    pDesc->Pool = desc_.pool;
    pDesc->MultiSampleType = desc_.multisample;
    pDesc->MultiSampleQuality = desc_.multisampleQuality;
    pDesc->Width = desc_.width;
    pDesc->Height = desc_.height;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
    if (!pLockedRect) return D3DERR_INVALIDCALL;
    pLockedRect->pBits = nullptr;
    if (locked_ || !desc_.lockable) return D3DERR_INVALIDCALL;
    RECT whole{0, 0, LONG(desc_.width), LONG(desc_.height)};
    const RECT r = pRect ? *pRect : whole;
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || r.right > whole.right ||
        r.bottom > whole.bottom)
        return D3DERR_INVALIDCALL;
    size_t offset = static_cast<size_t>(r.top) * pitch_ + static_cast<size_t>(r.left) * BytesPerPixel(desc_.format);
    if (IsBlockCompressed(desc_.format)) {
        // Compressed surfaces lock whole blocks.
        if ((r.left | r.top) % 4 != 0) return D3DERR_INVALIDCALL;
        const size_t blockBytes = desc_.format == D3DFMT_DXT1 ? 8 : 16;
        offset = static_cast<size_t>(r.top / 4) * pitch_ + static_cast<size_t>(r.left / 4) * blockBytes;
    }
    WaitForPipeline();  // queued draws may still write these bytes
    locked_ = true;
    pLockedRect->Pitch = static_cast<INT>(pitch_);
    pLockedRect->pBits = bytes_.data() + offset;
    return D3D_OK;
}

HRESULT Surface::UnlockRect() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    ++version_;
    return D3D_OK;
}

uint32_t Surface::ReadArgb(UINT x, UINT y) const {
    WaitForPipeline();
    auto format = ColorFormatOf(desc_.format);
    if (!format || x >= desc_.width || y >= desc_.height) return 0;
    const uint8_t* p = bytes_.data() + static_cast<size_t>(y) * pitch_;
    uint32_t raw = 0;
    if (pipeline::BytesPerPixel(*format) == 4)
        std::memcpy(&raw, p + static_cast<size_t>(x) * 4, 4);
    else
        raw = p[x * 2] | uint32_t(p[x * 2 + 1]) << 8;
    return pipeline::ToArgb8(*format, raw);
}

void Surface::ReadRowArgb(UINT x, UINT y, UINT count, uint32_t* out) const {
    WaitForPipeline();
    auto format = ColorFormatOf(desc_.format);
    if (!format || y >= desc_.height || x > desc_.width || count > desc_.width - x) {
        std::fill(out, out + count, 0u);
        return;
    }
    const uint8_t* p = bytes_.data() + static_cast<size_t>(y) * pitch_;
    if (pipeline::BytesPerPixel(*format) == 4) {
        std::memcpy(out, p + static_cast<size_t>(x) * 4, static_cast<size_t>(count) * 4);
        if (*format == pipeline::ColorFormat::X8R8G8B8)
            for (UINT i = 0; i < count; ++i) out[i] |= 0xFF000000u;
        return;
    }
    for (UINT i = 0; i < count; ++i) {
        const UINT at = (x + i) * 2;
        out[i] = pipeline::ToArgb8(*format, p[at] | uint32_t(p[at + 1]) << 8);
    }
}

void Surface::ReadRowOpaque(UINT x, UINT y, UINT count, uint32_t* out) const {
    WaitForPipeline();
    ReadFinishedRowOpaque(x, y, count, out);
}

void Surface::ReadFinishedRowOpaque(UINT x, UINT y, UINT count, uint32_t* out) const {
    auto format = ColorFormatOf(desc_.format);
    if (!format || y >= desc_.height || x > desc_.width || count > desc_.width - x) {
        std::fill(out, out + count, 0xFF000000u);
        return;
    }
    const uint8_t* p = bytes_.data() + static_cast<size_t>(y) * pitch_;
    if (pipeline::BytesPerPixel(*format) == 4) {
        const uint8_t* from = p + static_cast<size_t>(x) * 4;
        for (UINT i = 0; i < count; ++i) {
            uint32_t v;
            std::memcpy(&v, from + static_cast<size_t>(i) * 4, 4);
            out[i] = v | 0xFF000000u;
        }
        return;
    }
    for (UINT i = 0; i < count; ++i) {
        const UINT at = (x + i) * 2;
        out[i] = pipeline::ToArgb8(*format, p[at] | uint32_t(p[at + 1]) << 8) | 0xFF000000u;
    }
}

pipeline::ColorSurface Surface::ColorView() {
    pipeline::ColorSurface view;
    auto format = ColorFormatOf(desc_.format);
    if (!format) return view;
    view.format = *format;
    view.width = static_cast<int>(desc_.width);
    view.height = static_cast<int>(desc_.height);
    view.pitch = static_cast<int>(pitch_);
    view.data = bytes_.data();
    return view;
}

pipeline::DepthSurface Surface::DepthView() {
    pipeline::DepthSurface view;
    auto format = DepthFormatOf(desc_.format);
    if (!format) return view;
    view.format = *format;
    view.width = static_cast<int>(desc_.width);
    view.height = static_cast<int>(desc_.height);
    view.pitch = static_cast<int>(pitch_);
    view.data = bytes_.data();
    return view;
}

}  // namespace d3d9
