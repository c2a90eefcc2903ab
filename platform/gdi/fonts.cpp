// Font objects: CreateFontA / CreateFontIndirectA, the default font of a context, selecting fonts, and
// matching a logical font's face through fontconfig.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gdi/fonts.h"
#include "machine/machine.h"

namespace gdi {
namespace {

// The family fontconfig is asked for when the face name is empty: from the pitch and family bits.
const char* GenericFamily(BYTE pitchAndFamily) {
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN) return "monospace";
    if ((pitchAndFamily & 0xF0) == FF_ROMAN) return "serif";
    return "sans-serif";
}

HGDIOBJ& DefaultFontSlot() {
    static HGDIOBJ slot = nullptr;
    return slot;
}

}  // namespace

bool MatchFace(const LOGFONTA& logFont, MatchedFace& face) {
    // fontconfig's configuration is loaded once and given back at exit.
    static const bool initialised = FcInit() == FcTrue && (std::atexit([] { FcFini(); }), true);
    if (!initialised) return false;
    char name[LF_FACESIZE + 1] = {};
    std::memcpy(name, logFont.lfFaceName, LF_FACESIZE);  // a name filling the array has no terminator
    const int weight = logFont.lfWeight <= 0 ? FW_NORMAL : std::min<int>(logFont.lfWeight, 1000);

    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    const char* family = name[0] != '\0' ? name : GenericFamily(logFont.lfPitchAndFamily);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, logFont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;

    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    int index = 0, matchedWeight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcBool scalable = FcFalse;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr;
    if (found) {
        face.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
        face.family = FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch && matchedFamily
                          ? reinterpret_cast<const char*>(matchedFamily)
                          : std::string();
        face.index = index;
        face.bold = matchedWeight >= FC_WEIGHT_DEMIBOLD;
        face.italic = slant != FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return found && scalable == FcTrue;
}

HGDIOBJ DefaultFont() {
    // The platform's system font: bold, a 16-pixel cell, two-level glyphs.
    HGDIOBJ& slot = DefaultFontSlot();
    if (!FindObject(slot)) {
        auto font = std::make_shared<Font>();
        font->logFont.lfHeight = 16;
        font->logFont.lfWeight = FW_BOLD;
        font->logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
        std::strcpy(font->logFont.lfFaceName, "System");
        font->stock = true;
        slot = AddObject(font);
    }
    return slot;
}

std::shared_ptr<Font> SelectedFont(const DeviceContext& dc) {
    if (auto font = FindObjectAs<Font>(dc.font)) return font;
    return FindObjectAs<Font>(DefaultFont());
}

std::shared_ptr<RealisedFont> RealisedFontOf(const DeviceContext& dc) {
    auto font = SelectedFont(dc);
    auto realised = font ? Realise(font->logFont) : nullptr;
    if (!realised) SetLastError(ERROR_INVALID_HANDLE);
    return realised;
}

namespace {

// Forgets the contexts that are gone or hold another font now.
void ForgetStaleContexts(HGDIOBJ handle, Font& font) {
    std::erase_if(font.selectedInto, [handle](HDC hdc) {
        auto dc = FindObjectAs<DeviceContext>(hdc);
        return !dc || dc->font != handle;
    });
}

}  // namespace

HGDIOBJ SelectFontInto(DeviceContext& dc, HDC hdc, HGDIOBJ handle, Font& font) {
    HGDIOBJ previous = FindObjectAs<Font>(dc.font) ? dc.font : DefaultFont();
    dc.font = handle;
    if (!font.stock) {  // stock fonts are never deleted: nothing to track
        ForgetStaleContexts(handle, font);
        if (std::find(font.selectedInto.begin(), font.selectedInto.end(), hdc) == font.selectedInto.end())
            font.selectedInto.push_back(hdc);
    }
    return previous;
}

bool FontInUse(HGDIOBJ handle, Font& font) {
    ForgetStaleContexts(handle, font);
    return !font.selectedInto.empty();
}

}  // namespace gdi

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
    if (lplf == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto font = std::make_shared<gdi::Font>();
    font->logFont = *lplf;
    machine::NoteObjectCreated("font");
    return static_cast<HFONT>(gdi::AddObject(font));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                         DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
    LOGFONTA logFont{};
    logFont.lfHeight = cHeight;
    logFont.lfWidth = cWidth;
    logFont.lfEscapement = cEscapement;
    logFont.lfOrientation = cOrientation;
    logFont.lfWeight = cWeight;
    logFont.lfItalic = bItalic ? 1 : 0;
    logFont.lfUnderline = bUnderline ? 1 : 0;
    logFont.lfStrikeOut = bStrikeOut ? 1 : 0;
    logFont.lfCharSet = static_cast<BYTE>(iCharSet);
    logFont.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    logFont.lfQuality = static_cast<BYTE>(iQuality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    if (pszFaceName != nullptr) {
        // At most LF_FACESIZE - 1 characters are kept, as the platform does.
        const size_t length = strnlen(pszFaceName, LF_FACESIZE - 1);
        std::memcpy(logFont.lfFaceName, pszFaceName, length);
    }
    return CreateFontIndirectA(&logFont);
}
