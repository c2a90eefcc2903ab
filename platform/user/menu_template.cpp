// The platform's menu template: {WORD version 0, WORD header size} then items
// {WORD option (MF_POPUP, MF_END, ...); WORD id for items that are not popups; UTF-16 text ending in 0},
// a popup's items following it up to the one marked MF_END. A separator is an item with option 0,
// id 0 and no text.
#include "user/menus.h"

namespace user {

HMENU AddMenu(std::shared_ptr<Menu> menu);
void ForgetMenuTree(HMENU handle);

namespace {

constexpr int kMaxDepth = 32;

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Word(uint16_t& value) {
        if (size_ - pos_ < 2) return false;
        value = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool Skip(size_t n) {
        if (size_ - pos_ < n) return false;
        pos_ += n;
        return true;
    }
    // A zero-terminated UTF-16 text, as 8-bit text of the system code page.
    bool Text(std::string& text) {
        std::u16string wide;
        for (uint16_t c; Word(c);) {
            if (c == 0) {
                text.clear();
                if (!wide.empty()) {
                    int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(wide.c_str()), -1, nullptr, 0,
                                                nullptr, nullptr);
                    if (n <= 0) return false;
                    text.resize(static_cast<size_t>(n));
                    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(wide.c_str()), -1, text.data(), n,
                                        nullptr, nullptr);
                    text.resize(static_cast<size_t>(n - 1));
                }
                return true;
            }
            wide.push_back(static_cast<char16_t>(c));
        }
        return false;  // no terminator before the end of the data
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool ReadLevel(Reader& in, Menu& menu, int depth, std::vector<HMENU>& created) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        uint16_t option = 0, id = 0;
        if (!in.Word(option)) return false;
        if (!(option & MF_POPUP) && !in.Word(id)) return false;
        MenuItem item;
        if (!in.Text(item.text)) return false;
        item.flags = option & ~(MF_END | MF_POPUP);
        item.id = id;
        if (option & MF_POPUP) {
            auto popup = std::make_shared<Menu>();
            if (!ReadLevel(in, *popup, depth + 1, created)) return false;
            item.flags |= MF_POPUP;
            item.popup = AddMenu(popup);
            created.push_back(item.popup);
        } else if (option == 0 && id == 0 && item.text.empty()) {
            item.flags = MF_SEPARATOR;
        }
        menu.items.push_back(item);
        if (option & MF_END) return true;
    }
}

}  // namespace

HMENU MenuFromTemplate(const uint8_t* data, size_t size) {
    if (data == nullptr) return nullptr;
    Reader in(data, size);
    uint16_t version = 0, headerSize = 0;
    if (!in.Word(version) || !in.Word(headerSize) || version != 0 || !in.Skip(headerSize)) return nullptr;
    auto menu = std::make_shared<Menu>();
    std::vector<HMENU> created;
    if (!ReadLevel(in, *menu, 0, created)) {
        for (HMENU popup : created) ForgetMenuTree(popup);
        return nullptr;
    }
    return AddMenu(menu);
}

}  // namespace user
