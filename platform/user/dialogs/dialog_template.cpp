// Reading a dialog template: the header {style, extended style, item count, x, y, cx, cy, menu,
// class, caption[, point size, face with DS_SETFONT]}, then each item on a DWORD boundary {style,
// extended style, x, y, cx, cy, id, class, title, creation-data size and data}. Menu, class and
// title are 0 (none), 0xFFFF and an ordinal, or a UTF-16 text ending in 0.
#include "dialog_template.h"

namespace user::dialogs {
namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Word(WORD& value) {
        if (size_ - pos_ < 2) return false;
        value = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool Short(short& value) {
        WORD w;
        if (!Word(w)) return false;
        value = static_cast<short>(w);
        return true;
    }
    bool Dword(DWORD& value) {
        WORD low, high;
        if (!Word(low) || !Word(high)) return false;
        value = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
        return true;
    }
    bool Skip(size_t n) {
        if (size_ - pos_ < n) return false;
        pos_ += n;
        return true;
    }
    bool AlignToDword() { return Skip((4 - pos_ % 4) % 4); }

    // A UTF-16 text ending in 0, as 8-bit text of the system code page.
    bool Text(std::string& text) {
        std::u16string wide;
        for (WORD c;;) {
            if (!Word(c)) return false;
            if (c == 0) break;
            wide.push_back(static_cast<char16_t>(c));
        }
        text.clear();
        if (wide.empty()) return true;
        const auto* source = reinterpret_cast<LPCWSTR>(wide.c_str());
        const int n = WideCharToMultiByte(CP_ACP, 0, source, -1, nullptr, 0, nullptr, nullptr);
        if (n <= 0) return false;
        text.resize(static_cast<size_t>(n));
        if (WideCharToMultiByte(CP_ACP, 0, source, -1, text.data(), n, nullptr, nullptr) != n) return false;
        text.pop_back();  // the terminator
        return true;
    }

    // Menu, class or title: none, an ordinal, or a text.
    bool NameOrOrdinal(std::string& text, WORD& ordinal) {
        ordinal = 0;
        text.clear();
        WORD first;
        if (!Word(first)) return false;
        if (first == 0) return true;
        if (first == 0xFFFF) return Word(ordinal);
        pos_ -= 2;
        return Text(text);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

std::string PredefinedClassName(WORD atom) {
    switch (atom) {
        case 0x0080: return "Button";
        case 0x0081: return "Edit";
        case 0x0082: return "Static";
        case 0x0083: return "ListBox";
        case 0x0084: return "ScrollBar";
        case 0x0085: return "ComboBox";
        default: return "#" + std::to_string(atom);
    }
}

bool ReadItem(Reader& in, DialogItem& item) {
    if (!in.AlignToDword()) return false;
    if (!in.Dword(item.style) || !in.Dword(item.exStyle)) return false;
    if (!in.Short(item.x) || !in.Short(item.y) || !in.Short(item.cx) || !in.Short(item.cy)) return false;
    if (!in.Word(item.id)) return false;
    WORD ordinal;
    if (!in.NameOrOrdinal(item.className, ordinal)) return false;
    if (ordinal != 0) item.className = PredefinedClassName(ordinal);
    if (item.className.empty()) return false;
    if (!in.NameOrOrdinal(item.text, ordinal)) return false;
    if (ordinal != 0) item.text = "#" + std::to_string(ordinal);
    WORD extra;
    return in.Word(extra) && in.Skip(extra);
}

}  // namespace

std::optional<DialogTemplate> ReadDialogTemplate(const uint8_t* data, size_t size) {
    if (data == nullptr) return std::nullopt;
    Reader in(data, size);
    DialogTemplate t;
    WORD count;
    if (!in.Dword(t.style)) return std::nullopt;
    if ((t.style >> 16) == 0xFFFF && (t.style & 0xFFFF) == 1) return std::nullopt;  // the extended form
    if (!in.Dword(t.exStyle) || !in.Word(count)) return std::nullopt;
    if (!in.Short(t.x) || !in.Short(t.y) || !in.Short(t.cx) || !in.Short(t.cy)) return std::nullopt;
    WORD ordinal;
    if (!in.NameOrOrdinal(t.menu, ordinal)) return std::nullopt;
    if (ordinal != 0) t.menu = "#" + std::to_string(ordinal);
    if (!in.NameOrOrdinal(t.className, ordinal)) return std::nullopt;
    if (ordinal != 0) t.className = "#" + std::to_string(ordinal);
    if (!in.Text(t.caption)) return std::nullopt;
    if (t.style & DS_SETFONT) {
        if (!in.Word(t.pointSize) || !in.Text(t.face)) return std::nullopt;
    }
    t.items.resize(count);
    for (DialogItem& item : t.items)
        if (!ReadItem(in, item)) return std::nullopt;
    return t;
}

}  // namespace user::dialogs
