// ID3DXFont: a GDI font realised at the asked size and weight, kept for a device. It makes no device
// objects (nothing is drawn with it), so a reset takes nothing from it.
#include <cstring>
#include <memory>
#include <new>

#include "com/com_object.h"
#include "d3d9.h"
#include "d3dx9.h"
#include "gdi/fonts.h"

namespace {

class Font final : public com::ComObject<ID3DXFont, IID_ID3DXFont> {
public:
    Font(IDirect3DDevice9* device, std::shared_ptr<gdi::RealisedFont> realised)
        : device_(device), realised_(std::move(realised)) {
        device_->AddRef();
    }
    ~Font() { device_->Release(); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HRESULT GetDevice(IDirect3DDevice9** ppDevice) override {
        if (!ppDevice) return D3DERR_INVALIDCALL;
        device_->AddRef();
        *ppDevice = device_;
        return D3D_OK;
    }
    HRESULT OnLostDevice() override { return D3D_OK; }
    HRESULT OnResetDevice() override { return D3D_OK; }

private:
    IDirect3DDevice9* device_;
    std::shared_ptr<gdi::RealisedFont> realised_;
};

}  // namespace

HRESULT WINAPI D3DXCreateFontA(IDirect3DDevice9* pDevice, INT Height, UINT Width, UINT Weight, UINT /*MipLevels*/,
                               BOOL Italic, DWORD CharSet, DWORD OutputPrecision, DWORD Quality,
                               DWORD PitchAndFamily, LPCSTR pFaceName, LPD3DXFONT* ppFont) {
    if (!pDevice || !ppFont) return D3DERR_INVALIDCALL;
    LOGFONTA logFont{};
    logFont.lfHeight = Height;
    logFont.lfWidth = static_cast<LONG>(Width);
    logFont.lfWeight = static_cast<LONG>(Weight);
    logFont.lfItalic = Italic ? 1 : 0;
    logFont.lfCharSet = static_cast<BYTE>(CharSet);
    logFont.lfOutPrecision = static_cast<BYTE>(OutputPrecision);
    logFont.lfQuality = static_cast<BYTE>(Quality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(PitchAndFamily);
    if (pFaceName) strncpy(logFont.lfFaceName, pFaceName, LF_FACESIZE - 1);
    // The face GDI gives for the name (a substitute for a missing one), at the size.
    std::shared_ptr<gdi::RealisedFont> realised = gdi::Realise(logFont);
    if (!realised) return E_FAIL;
    Font* font = new (std::nothrow) Font(pDevice, std::move(realised));
    if (!font) return E_OUTOFMEMORY;
    *ppFont = font;
    return D3D_OK;
}
