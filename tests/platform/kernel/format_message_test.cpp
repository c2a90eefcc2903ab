#include <gtest/gtest.h>

#include "windows.h"

namespace {

constexpr DWORD kSystemText = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

std::string SystemText(DWORD code, DWORD capacity = 127) {
    char buffer[512] = {};
    DWORD length = FormatMessageA(kSystemText, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                                  capacity, nullptr);
    EXPECT_EQ(length, std::strlen(buffer));
    return buffer;
}

TEST(FormatMessageTest, SystemTextsOfErrorsAndResults) {
    struct Case {
        DWORD code;
        const char* text;
    };
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {0x80070002, "The system cannot find the file specified.\r\n"},
        {0x80004005, "Unspecified error\r\n"},
        {0x80070057, "The parameter is incorrect.\r\n"},
        {0x8007000E, "Not enough storage is available to complete this operation.\r\n"},
        {0x80004001, "Not implemented\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SystemText(c.code), c.text) << std::hex << c.code;
}

TEST(FormatMessageTest, UnknownCodesAndSmallBuffersGiveNoText) {
    SetLastError(0);
    EXPECT_EQ(SystemText(0x88760352), "");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
    EXPECT_EQ(SystemText(0xC8770BB8), "");
    EXPECT_EQ(SystemText(0x80004005, 5), "");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    char buffer[64];
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 2, MAKELANGID(0x07, 0x01), buffer, 64, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "x", 0, 0, buffer, 64, nullptr), 0u);
}

}  // namespace
