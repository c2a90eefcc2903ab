#include "surface.h"

#include <algorithm>
#include <cstring>

#include "d3d9/format_info.h"
#include "device.h"
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
        offset = static_cast<size_t>(r.top / 4) * pitch_ + static_cast<size_t>(r.left / 4) * BlockBytes(desc_.format);
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
    uint32_t argb = 0;
    ReadRow(x, y, 1, 0, &argb);
    return argb;
}

void Surface::ReadRowArgb(UINT x, UINT y, UINT count, uint32_t* out) const {
    WaitForPipeline();
    ReadRow(x, y, count, 0, out);
}

void Surface::ReadRowOpaque(UINT x, UINT y, UINT count, uint32_t* out) const {
    WaitForPipeline();
    ReadRow(x, y, count, 0xFF000000u, out);
}

void Surface::ReadFinishedRowOpaque(UINT x, UINT y, UINT count, uint32_t* out) const {
    ReadRow(x, y, count, 0xFF000000u, out);
}

void Surface::ReadRow(UINT x, UINT y, UINT count, uint32_t alpha, uint32_t* out) const {
    auto format = ColorFormatOf(desc_.format);
    if (!format || y >= desc_.height || x > desc_.width || count > desc_.width - x) {
        std::fill(out, out + count, alpha);
        return;
    }
    const uint8_t* p = bytes_.data() + static_cast<size_t>(y) * pitch_;
    if (pipeline::BytesPerPixel(*format) == 4) {
        const uint8_t* from = p + static_cast<size_t>(x) * 4;
        if (*format == pipeline::ColorFormat::X8R8G8B8) alpha = 0xFF000000u;
        if (alpha == 0) {
            std::memcpy(out, from, static_cast<size_t>(count) * 4);
            return;
        }
        for (UINT i = 0; i < count; ++i) {
            uint32_t v;
            std::memcpy(&v, from + static_cast<size_t>(i) * 4, 4);
            out[i] = v | alpha;
        }
        return;
    }
    for (UINT i = 0; i < count; ++i) {
        const UINT at = (x + i) * 2;
        out[i] = pipeline::ToArgb8(*format, p[at] | uint32_t(p[at + 1]) << 8) | alpha;
    }
}

namespace {

// The pipeline's view of a surface's bytes: empty when the surface's format is not of the view's kind.
template <typename View, typename Format>
View ViewOf(const std::optional<Format>& format, const SurfaceDesc& desc, UINT pitch, uint8_t* data) {
    View view;
    if (!format) return view;
    view.format = *format;
    view.width = static_cast<int>(desc.width);
    view.height = static_cast<int>(desc.height);
    view.pitch = static_cast<int>(pitch);
    view.data = data;
    return view;
}

}  // namespace

pipeline::ColorSurface Surface::ColorView() {
    return ViewOf<pipeline::ColorSurface>(ColorFormatOf(desc_.format), desc_, pitch_, bytes_.data());
}

pipeline::DepthSurface Surface::DepthView() {
    return ViewOf<pipeline::DepthSurface>(DepthFormatOf(desc_.format), desc_, pitch_, bytes_.data());
}

}  // namespace d3d9
