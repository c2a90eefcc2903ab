// The layer's own drawing on a real display, in the system's colours with the dialog font: the menu
// bar and its popups, and dialogs with their group boxes, static text, drop-down lists (and an open
// list over the controls), radio buttons, check boxes and push buttons (the default button framed,
// the focus marked).
#include "desktop_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "gdi/dialog_font.h"
#include "gdi/fonts.h"
#include "user/desktop.h"
#include "user/nonclient.h"
#include "user/window_objects.h"

namespace gdi {
namespace {

constexpr uint32_t kFace = 0xFFD4D0C8;      // buttons, menus, dialogs
constexpr uint32_t kLight = 0xFFFFFFFF;
constexpr uint32_t kShadow = 0xFF808080;
constexpr uint32_t kDark = 0xFF404040;
constexpr uint32_t kText = 0xFF000000;
constexpr uint32_t kHighlight = 0xFF0A246A;
constexpr uint32_t kWindow = 0xFFFFFFFF;

class Canvas {
public:
    Canvas(int width, int height, uint32_t colour) {
        frame.width = uint32_t(std::max(width, 0));
        frame.height = uint32_t(std::max(height, 0));
        frame.pixels.assign(size_t(frame.width) * frame.height, colour);
    }
    void Fill(RECT r, uint32_t colour) {
        r.left = std::max<LONG>(r.left, 0), r.top = std::max<LONG>(r.top, 0);
        r.right = std::min<LONG>(r.right, LONG(frame.width)), r.bottom = std::min<LONG>(r.bottom, LONG(frame.height));
        for (LONG y = r.top; y < r.bottom; ++y)
            std::fill_n(frame.pixels.begin() + ptrdiff_t(y * LONG(frame.width) + r.left), std::max<LONG>(r.right - r.left, 0), colour);
    }
    void Frame(const RECT& r, uint32_t topLeft, uint32_t bottomRight) {
        Fill({r.left, r.top, r.right, r.top + 1}, topLeft);
        Fill({r.left, r.top, r.left + 1, r.bottom}, topLeft);
        Fill({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        Fill({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    }
    void Raised(const RECT& r) {
        Frame(r, kLight, kDark);
        Frame({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kFace, kShadow);
    }
    void Sunken(const RECT& r) {
        Frame(r, kShadow, kLight);
        Frame({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kDark, kFace);
    }
    // A round sunken button in a square: the rims shadowed above and to the left, lit below and to the
    // right, white inside, with a dot when checked; the corners keep the face.
    void Radio(const RECT& box, bool checked, uint32_t dot) {
        const double centre = (box.right - box.left) / 2.0, outer = centre, inner = outer - 1, hole = outer - 2;
        for (LONG y = box.top; y < box.bottom; ++y)
            for (LONG x = box.left; x < box.right; ++x) {
                const double dx = x - box.left + 0.5 - centre, dy = y - box.top + 0.5 - centre;
                const double d = std::sqrt(dx * dx + dy * dy);
                const bool upperLeft = dx + dy < 0;
                if (d > outer) continue;
                const uint32_t rim = d <= inner ? (upperLeft ? kDark : kFace) : (upperLeft ? kShadow : kLight);
                Fill({x, y, x + 1, y + 1}, checked && d <= 2.0 ? dot : d <= hole ? kWindow : rim);
            }
    }
    void Dotted(const RECT& r) {
        for (LONG x = r.left; x < r.right; x += 2) {
            Fill({x, r.top, x + 1, r.top + 1}, kText);
            Fill({x, r.bottom - 1, x + 1, r.bottom}, kText);
        }
        for (LONG y = r.top; y < r.bottom; y += 2) {
            Fill({r.left, y, r.left + 1, y + 1}, kText);
            Fill({r.right - 1, y, r.right, y + 1}, kText);
        }
    }
    // Glyph coverage blended over the canvas; the pen starts at x on the line whose top is y.
    void Text(RealisedFont& font, int x, int y, const std::string& text, uint32_t colour, int right = 1 << 20) {
        const int baseline = y + font.Metrics().ascent;
        for (unsigned char c : text) {
            const GlyphBitmap& g = font.Glyph(c);
            if (x + g.advance > right) break;
            for (int j = 0; j < g.height; ++j)
                for (int i = 0; i < g.width; ++i) {
                    const int px = x + g.left + i, py = baseline - g.top + j;
                    if (px < 0 || py < 0 || px >= int(frame.width) || py >= int(frame.height)) continue;
                    const uint32_t a = g.coverage[size_t(j) * size_t(g.width) + size_t(i)];
                    uint32_t& p = frame.pixels[size_t(py) * frame.width + size_t(px)];
                    auto mix = [&](int shift) {
                        return ((((colour >> shift) & 0xFF) * a + ((p >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
                    };
                    p = 0xFF000000u | mix(16) | mix(8) | mix(0);
                }
            x += g.advance;
        }
    }
    machine::Frame frame;
};

// The text as shown: the mnemonic's ampersand dropped ("&&" is one ampersand).
std::string Shown(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

int Width(RealisedFont& font, const std::string& text) {
    int width = 0;
    for (unsigned char c : text) width += font.Glyph(c).advance;
    return width;
}

constexpr DWORD kStaticTypeMask = 0x1F;

// A Static's SS_ICON picture of the system's icons a message box shows, by its resource id ("#32513"
// the error's white cross on red, "#32515" the warning's "!" on a yellow triangle, "#32514" the
// question's "?" and "#32516" the information's "i" in a white disc ringed in blue), drawn in the
// control's rectangle.
void DrawIcon(Canvas& canvas, RealisedFont& font, const RECT& r, const std::string& name) {
    const int size = std::min<int>(r.right - r.left, r.bottom - r.top);
    if (size <= 4) return;
    const double half = size / 2.0, cx = r.left + half, cy = r.top + half;
    auto each = [&](auto colourAt) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (const uint32_t c = colourAt(x + 0.5 - half, y + 0.5 - half, half))
                    canvas.Fill({r.left + x, r.top + y, r.left + x + 1, r.top + y + 1}, c);
    };
    if (name == "#32515") {
        // The triangle's edges, then the mark in two bars (the stem and the dot).
        each([](double x, double y, double h) -> uint32_t {
            const double depth = (y + h) / (2 * h);  // 0 at the apex, 1 at the base
            if (depth < 0.04 || depth > 0.97 || std::abs(x) > depth * h) return 0;
            return std::abs(x) > depth * h - 1.5 || depth > 0.93 ? 0xFF000000u : 0xFFFFE000u;
        });
        const int w = std::max(2, size / 10);
        canvas.Fill({LONG(cx) - w / 2, r.top + size * 3 / 10, LONG(cx) - w / 2 + w, r.top + size * 7 / 10}, kText);
        canvas.Fill({LONG(cx) - w / 2, r.top + size * 3 / 4, LONG(cx) - w / 2 + w, r.top + size * 3 / 4 + w}, kText);
        return;
    }
    const bool error = name == "#32513";
    const uint32_t fill = error ? 0xFFE00000u : kWindow, ring = error ? 0xFF800000u : 0xFF0030C0u;
    each([&](double x, double y, double h) -> uint32_t {
        const double d = std::sqrt(x * x + y * y);
        return d > h - 0.5 ? 0 : d > h - 2.0 ? ring : fill;
    });
    if (error) {
        // The cross: two bars along the diagonals.
        each([](double x, double y, double h) -> uint32_t {
            const double along = std::max(std::abs(x), std::abs(y));
            return along < h * 0.45 && std::abs(std::abs(x) - std::abs(y)) < h * 0.16 ? kWindow : 0;
        });
        return;
    }
    if (name == "#32516") {
        const int w = std::max(2, size / 8);
        canvas.Fill({LONG(cx) - w / 2, r.top + size * 2 / 10, LONG(cx) - w / 2 + w, r.top + size * 2 / 10 + w}, ring);
        canvas.Fill({LONG(cx) - w / 2, r.top + size * 4 / 10, LONG(cx) - w / 2 + w, r.top + size * 8 / 10}, ring);
        return;
    }
    const int textWidth = Width(font, "?"), textHeight = font.Metrics().ascent + font.Metrics().descent;
    canvas.Text(font, int(cx) - textWidth / 2, int(cy) - textHeight / 2, "?", ring);
}

class Painter final : public user::DesktopPainter {
public:
    machine::Frame MenuBar(const user::Menu& menu, int width, int highlighted, std::vector<RECT>& items) override {
        Canvas canvas(width, user::kMenuBarHeight, kFace);
        items.clear();
        RealisedFont* font = Font();
        int x = 0;
        for (size_t i = 0; i < menu.items.size(); ++i) {
            const std::string text = Shown(menu.items[i].text);
            const int w = (font ? Width(*font, text) : 8 * int(text.size())) + 12;
            const RECT r{x, 0, x + w, user::kMenuBarHeight};
            items.push_back(r);
            const bool lit = int(i) == highlighted;
            if (lit) canvas.Fill(r, kHighlight);
            if (font) canvas.Text(*font, x + 6, (user::kMenuBarHeight - Height()) / 2, text, lit ? kLight : kText);
            x += w;
        }
        return canvas.frame;
    }

    machine::Frame Popup(const user::Menu& menu, int highlighted, std::vector<RECT>& items) override {
        RealisedFont* font = Font();
        int textWidth = 0, keyWidth = 0, height = 3;
        for (const user::MenuItem& item : menu.items) {
            const std::string shown = Shown(item.text);
            const size_t tab = shown.find('\t');
            if (font) {
                textWidth = std::max(textWidth, Width(*font, shown.substr(0, tab)));
                if (tab != std::string::npos) keyWidth = std::max(keyWidth, Width(*font, shown.substr(tab + 1)));
            }
            height += (item.flags & MF_SEPARATOR) ? 8 : 18;
        }
        const int width = textWidth + keyWidth + 48;
        Canvas canvas(width, height + 3, kFace);
        canvas.Raised({0, 0, width, height + 3});
        items.clear();
        int y = 3;
        for (size_t i = 0; i < menu.items.size(); ++i) {
            const user::MenuItem& item = menu.items[i];
            const int h = (item.flags & MF_SEPARATOR) ? 8 : 18;
            const RECT r{3, y, width - 3, y + h};
            items.push_back(r);
            if (item.flags & MF_SEPARATOR) {
                canvas.Fill({4, y + 3, width - 4, y + 4}, kShadow);
                canvas.Fill({4, y + 4, width - 4, y + 5}, kLight);
            } else {
                const bool lit = int(i) == highlighted;
                if (lit) canvas.Fill(r, kHighlight);
                const uint32_t colour = (item.flags & MF_GRAYED) ? kShadow : lit ? kLight : kText;
                const std::string shown = Shown(item.text);
                const size_t tab = shown.find('\t');
                const int ty = y + (h - Height()) / 2;
                if (font) {
                    canvas.Text(*font, 20, ty, shown.substr(0, tab), colour);
                    if (tab != std::string::npos) canvas.Text(*font, 20 + textWidth + 16, ty, shown.substr(tab + 1), colour);
                }
            }
            y += h;
        }
        return canvas.frame;
    }

    machine::Frame Dialog(HWND dialog) override {
        auto window = user::FindWindowObject(dialog);
        if (!window) return {};
        Canvas canvas(window->clientRect.right - window->clientRect.left,
                      window->clientRect.bottom - window->clientRect.top, kFace);
        RealisedFont* font = DialogFace();
        if (!font) return canvas.frame;
        const HWND focus = GetFocus();
        for (const auto& control : user::LiveWindows())
            if (control->parent == dialog && control->Visible()) DrawControl(canvas, *font, *control, control->handle == focus);
        if (const auto open = user::OpenDropDown(dialog)) DrawList(canvas, *font, *open);
        return canvas.frame;
    }

    SIZE MeasureText(const std::string& text) override {
        RealisedFont* font = Font();
        return font ? SIZE{Width(*font, text), Height()} : SIZE{LONG(text.size()) * 6, 13};
    }

private:
    RealisedFont* Font() {
        if (!font_) {
            LOGFONTA logFont{};
            logFont.lfHeight = -11;  // 8 points
            logFont.lfWeight = FW_NORMAL;
            std::snprintf(logFont.lfFaceName, sizeof logFont.lfFaceName, "%s", "MS Sans Serif");
            font_ = Realise(logFont);
        }
        return font_.get();
    }
    int Height() { return font_ ? font_->Metrics().ascent + font_->Metrics().descent : 13; }
    static int Height(RealisedFont& font) { return font.Metrics().ascent + font.Metrics().descent; }
    RealisedFont* DialogFace() {
        if (!dialogFont_) dialogFont_ = DialogFont();
        return dialogFont_.get();
    }

    void DrawControl(Canvas& canvas, RealisedFont& font, const user::Window& control, bool focused) {
        const RECT r = control.windowRect;  // in the dialog's client coordinates
        const std::string name = control.windowClass ? control.windowClass->name : "";
        const bool enabled = !(control.style & WS_DISABLED);
        const uint32_t ink = enabled ? kText : kShadow;
        const std::string text = Shown(control.title);
        const TextSpan span = DialogTextSpan(name, control.style, r);
        const int textY = r.top + (r.bottom - r.top - Height(font)) / 2;
        if (name == "Static" && (control.style & kStaticTypeMask) == SS_ICON) {
            DrawIcon(canvas, font, r, control.title);
            return;
        }
        if (name == "Static") {
            canvas.Text(font, r.left, r.top, text, ink, r.right);
            return;
        }
        if (name == "ComboBox") {
            const int field = std::min<LONG>(r.bottom - r.top, 21);
            const RECT box{r.left, r.top, r.right, r.top + field};
            canvas.Fill(box, enabled ? kWindow : kFace);
            canvas.Sunken(box);
            const RECT arrow{box.right - 18, box.top + 2, box.right - 2, box.bottom - 2};
            canvas.Fill(arrow, kFace);
            canvas.Raised(arrow);
            for (int k = 0; k < 4; ++k)
                canvas.Fill({arrow.left + 4 + k, arrow.top + 6 + k, arrow.right - 4 - k, arrow.top + 7 + k}, ink);
            const LRESULT selection = SendMessageA(control.handle, CB_GETCURSEL, 0, 0);
            if (selection >= 0) {
                std::string item(size_t(std::max<LRESULT>(SendMessageA(control.handle, CB_GETLBTEXTLEN, WPARAM(selection), 0), 0)) + 1, '\0');
                SendMessageA(control.handle, CB_GETLBTEXT, WPARAM(selection), reinterpret_cast<LPARAM>(item.data()));
                item.resize(std::strlen(item.c_str()));
                const RECT inner{box.left + 3, box.top + 3, arrow.left - 1, box.bottom - 3};
                if (focused) canvas.Fill(inner, kHighlight);
                canvas.Text(font, span.left, box.top + (field - Height(font)) / 2, item, focused ? kLight : ink,
                            span.right);
            }
            return;
        }
        const DWORD type = control.style & 0x0F;
        if (type == BS_GROUPBOX) {
            const int mid = r.top + Height(font) / 2;
            canvas.Frame({r.left, mid, r.right - 1, r.bottom - 1}, kShadow, kShadow);
            canvas.Frame({r.left + 1, mid + 1, r.right, r.bottom}, kLight, kLight);
            canvas.Fill({r.left + 6, r.top, r.left + 10 + Width(font, text), r.top + Height(font)}, kFace);
            canvas.Text(font, span.left, r.top, text, ink, span.right);
            return;
        }
        const bool checked = SendMessageA(control.handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
        const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        if (radio || type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
            const int top = r.top + (r.bottom - r.top - kCheckSize) / 2;
            const RECT box{r.left, top, r.left + kCheckSize, top + kCheckSize};
            if (radio) {
                canvas.Radio(box, checked, ink);
            } else {
                canvas.Fill(box, kWindow);
                canvas.Sunken(box);
                if (checked) canvas.Fill({box.left + 4, box.top + 4, box.right - 4, box.bottom - 4}, ink);
            }
            canvas.Text(font, span.left, textY, text, ink, span.right);
            if (focused)
                canvas.Dotted({span.left - 2, textY - 1, span.left + 2 + Width(font, text), textY + Height(font) + 1});
            return;
        }
        // Push buttons.
        RECT face = r;
        if (type == BS_DEFPUSHBUTTON) {
            canvas.Frame(face, kText, kText);
            face = {face.left + 1, face.top + 1, face.right - 1, face.bottom - 1};
        }
        canvas.Raised(face);
        const int w = Width(font, text);
        canvas.Text(font, std::max(span.left, int(r.left) + (int(r.right - r.left) - w) / 2), textY, text, ink,
                    span.right);
        if (focused) canvas.Dotted({face.left + 3, face.top + 3, face.right - 3, face.bottom - 3});
    }

    // An open drop-down list over the controls below (or above) its field, the highlighted item lit.
    void DrawList(Canvas& canvas, RealisedFont& font, const user::DropDownView& view) {
        const RECT& l = view.list;
        canvas.Fill(l, kWindow);
        canvas.Frame(l, kText, kText);
        const LRESULT count = SendMessageA(view.combo, CB_GETCOUNT, 0, 0);
        for (int row = 0; l.top + 1 + (row + 1) * view.rowHeight <= l.bottom - 1; ++row) {
            const int index = view.first + row;
            if (index >= count) break;
            std::string item(size_t(std::max<LRESULT>(SendMessageA(view.combo, CB_GETLBTEXTLEN, WPARAM(index), 0), 0)) + 1, '\0');
            SendMessageA(view.combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(item.data()));
            item.resize(std::strlen(item.c_str()));
            const RECT r{l.left + 1, l.top + 1 + row * view.rowHeight, l.right - 1, l.top + 1 + (row + 1) * view.rowHeight};
            const bool lit = index == view.highlighted;
            if (lit) canvas.Fill(r, kHighlight);
            canvas.Text(font, r.left + 2, r.top + (view.rowHeight - Height(font)) / 2, item, lit ? kLight : kText,
                        r.right - 2);
        }
    }

    std::shared_ptr<RealisedFont> font_;        // menus
    std::shared_ptr<RealisedFont> dialogFont_;  // dialogs
};

}  // namespace

void InstallDesktopPainter() {
    static Painter* painter = new Painter;  // lives as long as the process: windows may draw until the end
    user::SetDesktopPainter(painter);
}

namespace {
// Installed as the program starts too: a message box may come up before GDI's first object is made.
[[maybe_unused]] const bool kInstalledAtStart = (InstallDesktopPainter(), true);
}  // namespace

}  // namespace gdi
