#include <string>

#include <gtest/gtest.h>

#include "windows.h"

namespace {

std::string Format(const char* format, ...) {
    char buffer[1100];
    std::memset(buffer, 'z', sizeof(buffer));
    va_list arguments;
    va_start(arguments, format);
    int length = wvsprintfA(buffer, format, arguments);
    va_end(arguments);
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(buffer)) << format;
    return buffer;
}

TEST(WsprintfTest, IntegerFormats) {
    struct Case {
        const char* format;
        int value;
        const char* expected;
    };
    const Case cases[] = {
        {"%d", -5, "-5"},
        {"%03d", -5, "-05"},
        {"%03d", 7, "007"},
        {"%03d", 1234, "1234"},
        {"%5d|", 42, "   42|"},
        {"%-5d|", 42, "42   |"},
        {"%-05d|", 42, "42   |"},  // left alignment pads with blanks
        {"%i", 12, "12"},
        {"%u", -1, "4294967295"},
        {"%x", 255, "ff"},
        {"%X", 255, "FF"},
        {"%08X", 0xBEEF, "0000BEEF"},
        {"%0.8X", 0x3D82AB44, "3D82AB44"},
        {"%0.8X", 0xAB, "000000AB"},
        {"%.4x", 0x1F, "001f"},
        {"%#x", 255, "0xff"},
        {"%#X", 255, "0XFF"},
        {"%ld", -70000, "-70000"},
        {"%lu", 70000, "70000"},
        {"%lx", 0x7FFFFFFF, "7fffffff"},
        {"%hd", 65535, "-1"},
        {"%hu", 65537, "1"},
        {"%x", -1, "ffffffff"},
        {"%d", INT32_MIN, "-2147483648"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format(c.format, c.value), c.expected) << c.format;
    }
    EXPECT_EQ(Format("mouse: x:%03d y:%03d", -5, 42), "mouse: x:-05 y:042");
}

TEST(WsprintfTest, TextCharactersAndLiterals) {
    EXPECT_EQ(Format("Loading... Please wait"), "Loading... Please wait");
    EXPECT_EQ(Format("[%s]", "abc"), "[abc]");
    EXPECT_EQ(Format("[%6s]", "abc"), "[   abc]");
    EXPECT_EQ(Format("[%-6s]", "abc"), "[abc   ]");
    EXPECT_EQ(Format("[%.2s]", "abc"), "[ab]");
    EXPECT_EQ(Format("[%5.2s]", "abc"), "[   ab]");
    EXPECT_EQ(Format("[%s]", static_cast<const char*>(nullptr)), "[(null)]");
    EXPECT_EQ(Format("[%c%c]", 'o', 'k'), "[ok]");
    EXPECT_EQ(Format("[%3c]", 'x'), "[  x]");
    EXPECT_EQ(Format("100%%"), "100%");
    EXPECT_EQ(Format("%q"), "q");  // an unknown type is written as it is
    EXPECT_EQ(Format("end%"), "end");
}

TEST(WsprintfTest, OutputIsCappedAt1024CharactersWithTheTerminator) {
    std::string longText(2000, 'a');
    char buffer[1100];
    std::memset(buffer, 'z', sizeof(buffer));
    EXPECT_EQ(wsprintfA(buffer, "%s", longText.c_str()), 1023);
    EXPECT_EQ(buffer[1023], '\0');
    EXPECT_EQ(buffer[1024], 'z');
    EXPECT_EQ(wsprintfA(buffer, "%2000d", 1), 1023);
    EXPECT_EQ(std::string(buffer), std::string(1023, ' '));
}

}  // namespace
