// The bounded copies and the conversions between 8-bit and wide text.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "media_files.h"

namespace {

constexpr char kSentinel = '#';
constexpr WCHAR kWideSentinel = u'#';

}  // namespace

TEST(TextConversion, BoundedCopyCutsAndTerminates) {
    char destination[16];
    std::memset(destination, kSentinel, sizeof(destination));
    EXPECT_EQ(AnsiToText(destination, "0123456789", 5), S_OK);
    EXPECT_STREQ(destination, "0123");
    EXPECT_EQ(destination[5], kSentinel);  // nothing beyond the capacity

    std::memset(destination, kSentinel, sizeof(destination));
    EXPECT_EQ(TextToAnsi(destination, "ab", 8), S_OK);
    EXPECT_STREQ(destination, "ab");
    EXPECT_EQ(std::string(destination, 8), std::string("ab\0\0\0\0\0\0", 8));  // the rest is zero-filled

    EXPECT_EQ(TextToAnsiBytes(destination, "xyz", 3), S_OK);
    EXPECT_STREQ(destination, "xy");
    EXPECT_EQ(AnsiToTextBytes(destination, "xyz", 1), S_OK);
    EXPECT_STREQ(destination, "");
}

TEST(TextConversion, WideConversionsRoundTripThroughTheCodePage) {
    WCHAR wide[16];
    char text[16];
    EXPECT_EQ(AnsiToWide(wide, "caf\xE9 \x80", 16), S_OK);  // Windows-1252: e acute and the euro sign
    EXPECT_EQ(std::u16string(wide), u"caf\u00E9 \u20AC");
    EXPECT_EQ(WideToAnsi(text, wide, 16), S_OK);
    EXPECT_STREQ(text, "caf\xE9 \x80");

    EXPECT_EQ(TextToWide(wide, "abc", 4), S_OK);
    EXPECT_EQ(std::u16string(wide), u"abc");
    EXPECT_EQ(WideToText(text, u"abc", 4), S_OK);
    EXPECT_STREQ(text, "abc");
}

TEST(TextConversion, AConversionThatDoesNotFitFailsButStaysTerminated) {
    WCHAR wide[8];
    std::fill(std::begin(wide), std::end(wide), kWideSentinel);
    EXPECT_EQ(AnsiToWide(wide, "abcdef", 4), E_FAIL);
    EXPECT_EQ(wide[3], 0);
    EXPECT_EQ(wide[4], kWideSentinel);

    char text[8];
    std::memset(text, kSentinel, sizeof(text));
    EXPECT_EQ(WideToAnsi(text, u"abcdef", 4), E_FAIL);
    EXPECT_EQ(text[3], 0);
    EXPECT_EQ(text[4], kSentinel);
}

TEST(TextConversion, WideByteFormsHalveTheByteCount) {
    WCHAR wide[8];
    std::fill(std::begin(wide), std::end(wide), kWideSentinel);
    EXPECT_EQ(AnsiToWideBytes(wide, "abc", 9), S_OK);  // 9 bytes hold 4 wide characters
    EXPECT_EQ(std::u16string(wide), u"abc");
    EXPECT_EQ(AnsiToWideBytes(wide, "abcd", 9), E_FAIL);
    EXPECT_EQ(wide[3], 0);
    EXPECT_EQ(wide[4], kWideSentinel);
    EXPECT_EQ(TextToWideBytes(wide, "abc", 8), S_OK);
    EXPECT_EQ(TextToWideBytes(wide, "a", 1), E_INVALIDARG);  // half a character is no room at all

    char text[8];
    EXPECT_EQ(WideToAnsiBytes(text, u"abc", 4), S_OK);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(WideToTextBytes(text, u"abc", 4), S_OK);
    EXPECT_STREQ(text, "abc");
}

TEST(TextConversion, MissingPointersAndCapacitiesBelowOneWriteNothing) {
    char text[4];
    WCHAR wide[4];
    using TextCall = std::function<HRESULT(char*, int)>;
    using WideCall = std::function<HRESULT(WCHAR*, int)>;
    const TextCall textCalls[] = {
        [](char* d, int c) { return TextToAnsi(d, "abc", c); },
        [](char* d, int c) { return AnsiToText(d, "abc", c); },
        [](char* d, int c) { return WideToAnsi(d, u"abc", c); },
        [](char* d, int c) { return WideToText(d, u"abc", c); },
        [](char* d, int c) { return TextToAnsiBytes(d, "abc", c); },
        [](char* d, int c) { return AnsiToTextBytes(d, "abc", c); },
        [](char* d, int c) { return WideToAnsiBytes(d, u"abc", c); },
        [](char* d, int c) { return WideToTextBytes(d, u"abc", c); },
    };
    const WideCall wideCalls[] = {
        [](WCHAR* d, int c) { return AnsiToWide(d, "abc", c); },
        [](WCHAR* d, int c) { return TextToWide(d, "abc", c); },
        [](WCHAR* d, int c) { return AnsiToWideBytes(d, "abc", c * 2); },
        [](WCHAR* d, int c) { return TextToWideBytes(d, "abc", c * 2); },
    };
    for (const TextCall& call : textCalls) {
        for (int capacity : {0, -1, INT32_MIN}) {
            std::memset(text, kSentinel, sizeof(text));
            EXPECT_EQ(call(text, capacity), E_INVALIDARG);
            EXPECT_EQ(text[0], kSentinel);
        }
        EXPECT_EQ(call(nullptr, 4), E_INVALIDARG);
    }
    for (const WideCall& call : wideCalls) {
        for (int capacity : {0, -1}) {
            std::fill(std::begin(wide), std::end(wide), kWideSentinel);
            EXPECT_EQ(call(wide, capacity), E_INVALIDARG);
            EXPECT_EQ(wide[0], kWideSentinel);
        }
        EXPECT_EQ(call(nullptr, 4), E_INVALIDARG);
    }

    std::memset(text, kSentinel, sizeof(text));
    std::fill(std::begin(wide), std::end(wide), kWideSentinel);
    EXPECT_EQ(TextToAnsi(text, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(AnsiToText(text, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(WideToAnsi(text, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(WideToText(text, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(AnsiToWide(wide, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(TextToWide(wide, nullptr, 4), E_INVALIDARG);
    EXPECT_EQ(text[0], kSentinel);
    EXPECT_EQ(wide[0], kWideSentinel);
}
