// The key names an input script may use: the platform's virtual-key names without "VK_" and the
// DirectInput names (with or without "DIK_") where they differ, each with both key codes.
#include <string>

#include "machine/control.h"
#include "winuser.h"

namespace machine::control {
namespace {

struct KeyName {
    const char* name;
    uint32_t virtualKey;
    uint32_t scanCode;  // DirectInput key code
};

constexpr KeyName kKeys[] = {
    {"ESCAPE", VK_ESCAPE, 0x01}, {"1", '1', 0x02}, {"2", '2', 0x03}, {"3", '3', 0x04}, {"4", '4', 0x05},
    {"5", '5', 0x06}, {"6", '6', 0x07}, {"7", '7', 0x08}, {"8", '8', 0x09}, {"9", '9', 0x0A},
    {"0", '0', 0x0B}, {"MINUS", VK_OEM_MINUS, 0x0C}, {"OEM_MINUS", VK_OEM_MINUS, 0x0C},
    {"EQUALS", VK_OEM_PLUS, 0x0D}, {"OEM_PLUS", VK_OEM_PLUS, 0x0D}, {"BACK", VK_BACK, 0x0E},
    {"BACKSPACE", VK_BACK, 0x0E}, {"TAB", VK_TAB, 0x0F}, {"Q", 'Q', 0x10}, {"W", 'W', 0x11},
    {"E", 'E', 0x12}, {"R", 'R', 0x13}, {"T", 'T', 0x14}, {"Y", 'Y', 0x15}, {"U", 'U', 0x16},
    {"I", 'I', 0x17}, {"O", 'O', 0x18}, {"P", 'P', 0x19}, {"LBRACKET", VK_OEM_4, 0x1A},
    {"OEM_4", VK_OEM_4, 0x1A}, {"RBRACKET", VK_OEM_6, 0x1B}, {"OEM_6", VK_OEM_6, 0x1B},
    {"RETURN", VK_RETURN, 0x1C}, {"LCONTROL", VK_CONTROL, 0x1D}, {"CONTROL", VK_CONTROL, 0x1D},
    {"A", 'A', 0x1E}, {"S", 'S', 0x1F}, {"D", 'D', 0x20}, {"F", 'F', 0x21}, {"G", 'G', 0x22},
    {"H", 'H', 0x23}, {"J", 'J', 0x24}, {"K", 'K', 0x25}, {"L", 'L', 0x26},
    {"SEMICOLON", VK_OEM_1, 0x27}, {"OEM_1", VK_OEM_1, 0x27}, {"APOSTROPHE", VK_OEM_7, 0x28},
    {"OEM_7", VK_OEM_7, 0x28}, {"GRAVE", VK_OEM_3, 0x29}, {"OEM_3", VK_OEM_3, 0x29},
    {"LSHIFT", VK_SHIFT, 0x2A}, {"SHIFT", VK_SHIFT, 0x2A}, {"BACKSLASH", VK_OEM_5, 0x2B},
    {"OEM_5", VK_OEM_5, 0x2B}, {"Z", 'Z', 0x2C}, {"X", 'X', 0x2D}, {"C", 'C', 0x2E}, {"V", 'V', 0x2F},
    {"B", 'B', 0x30}, {"N", 'N', 0x31}, {"M", 'M', 0x32}, {"COMMA", VK_OEM_COMMA, 0x33},
    {"OEM_COMMA", VK_OEM_COMMA, 0x33}, {"PERIOD", VK_OEM_PERIOD, 0x34}, {"OEM_PERIOD", VK_OEM_PERIOD, 0x34},
    {"SLASH", VK_OEM_2, 0x35}, {"OEM_2", VK_OEM_2, 0x35}, {"RSHIFT", VK_SHIFT, 0x36},
    {"MULTIPLY", VK_MULTIPLY, 0x37}, {"NUMPADSTAR", VK_MULTIPLY, 0x37}, {"LMENU", VK_MENU, 0x38},
    {"MENU", VK_MENU, 0x38}, {"LALT", VK_MENU, 0x38}, {"SPACE", VK_SPACE, 0x39},
    {"CAPITAL", VK_CAPITAL, 0x3A}, {"CAPSLOCK", VK_CAPITAL, 0x3A}, {"F1", VK_F1, 0x3B}, {"F2", VK_F2, 0x3C},
    {"F3", VK_F3, 0x3D}, {"F4", VK_F4, 0x3E}, {"F5", VK_F5, 0x3F}, {"F6", VK_F6, 0x40}, {"F7", VK_F7, 0x41},
    {"F8", VK_F8, 0x42}, {"F9", VK_F9, 0x43}, {"F10", VK_F10, 0x44}, {"NUMLOCK", VK_NUMLOCK, 0x45},
    {"SCROLL", VK_SCROLL, 0x46}, {"NUMPAD7", VK_NUMPAD7, 0x47}, {"NUMPAD8", VK_NUMPAD8, 0x48},
    {"NUMPAD9", VK_NUMPAD9, 0x49}, {"SUBTRACT", VK_SUBTRACT, 0x4A}, {"NUMPADMINUS", VK_SUBTRACT, 0x4A},
    {"NUMPAD4", VK_NUMPAD4, 0x4B}, {"NUMPAD5", VK_NUMPAD5, 0x4C}, {"NUMPAD6", VK_NUMPAD6, 0x4D},
    {"ADD", VK_ADD, 0x4E}, {"NUMPADPLUS", VK_ADD, 0x4E}, {"NUMPAD1", VK_NUMPAD1, 0x4F},
    {"NUMPAD2", VK_NUMPAD2, 0x50}, {"NUMPAD3", VK_NUMPAD3, 0x51}, {"NUMPAD0", VK_NUMPAD0, 0x52},
    {"DECIMAL", VK_DECIMAL, 0x53}, {"NUMPADPERIOD", VK_DECIMAL, 0x53}, {"F11", VK_F11, 0x57},
    {"F12", VK_F12, 0x58}, {"NUMPADENTER", VK_RETURN, 0x9C}, {"RCONTROL", VK_CONTROL, 0x9D},
    {"DIVIDE", VK_DIVIDE, 0xB5}, {"NUMPADSLASH", VK_DIVIDE, 0xB5}, {"SYSRQ", VK_SNAPSHOT, 0xB7},
    {"SNAPSHOT", VK_SNAPSHOT, 0xB7}, {"RMENU", VK_MENU, 0xB8}, {"RALT", VK_MENU, 0xB8},
    {"PAUSE", VK_PAUSE, 0xC5}, {"HOME", VK_HOME, 0xC7}, {"UP", VK_UP, 0xC8}, {"UPARROW", VK_UP, 0xC8},
    {"PRIOR", VK_PRIOR, 0xC9}, {"PGUP", VK_PRIOR, 0xC9}, {"LEFT", VK_LEFT, 0xCB},
    {"LEFTARROW", VK_LEFT, 0xCB}, {"RIGHT", VK_RIGHT, 0xCD}, {"RIGHTARROW", VK_RIGHT, 0xCD},
    {"END", VK_END, 0xCF}, {"DOWN", VK_DOWN, 0xD0}, {"DOWNARROW", VK_DOWN, 0xD0}, {"NEXT", VK_NEXT, 0xD1},
    {"PGDN", VK_NEXT, 0xD1}, {"INSERT", VK_INSERT, 0xD2}, {"DELETE", VK_DELETE, 0xD3},
    {"LWIN", VK_LWIN, 0xDB}, {"RWIN", VK_RWIN, 0xDC}, {"APPS", VK_APPS, 0xDD},
};

std::string Upper(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

}  // namespace

bool LookUpKeyName(const std::string& name, uint32_t& virtualKey, uint32_t& scanCode) {
    std::string key = Upper(name);
    if (key.rfind("DIK_", 0) == 0) key = key.substr(4);
    else if (key.rfind("VK_", 0) == 0) key = key.substr(3);
    for (const KeyName& entry : kKeys) {
        if (key == entry.name) {
            virtualKey = entry.virtualKey;
            scanCode = entry.scanCode;
            return true;
        }
    }
    return false;
}

}  // namespace machine::control
