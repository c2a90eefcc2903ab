// GUID text: the braced form, the parser's field rules and a destination too small.
#include "guid_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr GUID kGuid = {0x3D82AB44, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
constexpr char kGuidText[] = "{3D82AB44-62DA-11CF-AB39-0020AF71E433}";
constexpr GUID kFilled = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {1, 2, 3, 4, 5, 6, 7, 8}};

}  // namespace

TEST(GuidText, FormatsThirtyEightUppercaseCharacters) {
    char text[64];
    std::memset(text, '#', sizeof(text));
    EXPECT_EQ(GuidToText(&kGuid, text, 39), S_OK);
    EXPECT_STREQ(text, kGuidText);
    EXPECT_EQ(GuidToTextBytes(&kGuid, text, sizeof(text)), S_OK);
    EXPECT_STREQ(text, kGuidText);

    constexpr GUID lowDigits = {0x1, 0x2, 0x3, {0, 0xA, 0, 0, 0, 0, 0, 0xF}};
    EXPECT_EQ(GuidToText(&lowDigits, text, 39), S_OK);
    EXPECT_STREQ(text, "{00000001-0002-0003-000A-00000000000F}");
}

TEST(GuidText, ASmallDestinationFailsAndIsStillTerminated) {
    for (int capacity : {38, 20, 2, 1}) {
        char text[64];
        std::memset(text, '#', sizeof(text));
        EXPECT_EQ(GuidToText(&kGuid, text, capacity), E_FAIL) << capacity;
        EXPECT_EQ(std::string(text), std::string(kGuidText, static_cast<size_t>(capacity - 1))) << capacity;
        EXPECT_EQ(text[capacity], '#') << capacity;
    }
}

TEST(GuidText, MissingArgumentsAreRefusedWithoutWriting) {
    char text[64];
    std::memset(text, '#', sizeof(text));
    EXPECT_EQ(GuidToText(&kGuid, text, 0), E_INVALIDARG);
    EXPECT_EQ(GuidToText(nullptr, text, 39), E_INVALIDARG);
    EXPECT_EQ(text[0], '#');
    EXPECT_EQ(GuidToText(&kGuid, nullptr, 39), E_INVALIDARG);
    EXPECT_EQ(TextToGuid(kGuidText, nullptr), E_INVALIDARG);
    GUID guid = kFilled;
    EXPECT_EQ(TextToGuid(nullptr, &guid), E_FAIL);
    EXPECT_EQ(guid, GUID_NULL);
}

TEST(GuidText, ParsesWhatItFormats) {
    const GUID guids[] = {kGuid, GUID_NULL, kFilled, IID_IUnknown};
    for (const GUID& original : guids) {
        char text[39];
        ASSERT_EQ(GuidToText(&original, text, sizeof(text)), S_OK);
        GUID parsed = {};
        EXPECT_EQ(TextToGuid(text, &parsed), S_OK) << text;
        EXPECT_EQ(parsed, original) << text;
    }
}

TEST(GuidText, FieldsTakeUpToTheirWidthInHexOfEitherCase) {
    const struct {
        const char* text;
        GUID expected;
    } accepted[] = {
        {"{3d82ab44-62da-11cf-ab39-0020af71e433}", kGuid},
        {"{3D82ab44-62Da-11cF-aB39-0020Af71E433}", kGuid},
        {"{3D82AB44-62DA-11CF-AB39-0020AF71E433", kGuid},            // no closing brace
        {"{3D82AB44-62DA-11CF-AB39-0020AF71E433} and more", kGuid},  // nothing after the last field is read
        {"{1-2-3-0405-060708090A0B}", {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}},
        {"{1-2-3-4 5-6 7 8 9 A B}", {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}},
    };
    for (const auto& c : accepted) {
        GUID guid = {};
        EXPECT_EQ(TextToGuid(c.text, &guid), S_OK) << c.text;
        EXPECT_EQ(guid, c.expected) << c.text;
    }
}

TEST(GuidText, AnythingElseGivesAZeroGuid) {
    const char* refused[] = {
        "",
        "3D82AB44-62DA-11CF-AB39-0020AF71E433",    // no opening brace
        "{3D82AB44-62DA-11CF-AB39-0020AF71E4}",    // one field short
        "{123456789-62DA-11CF-AB39-0020AF71E433}",  // Data1 wider than 8 digits
        "{3D82AB44:62DA-11CF-AB39-0020AF71E433}",
        "{G3D82AB4-62DA-11CF-AB39-0020AF71E433}",
        "not a guid",
    };
    for (const char* text : refused) {
        GUID guid = kFilled;
        EXPECT_EQ(TextToGuid(text, &guid), E_FAIL) << text;
        EXPECT_EQ(guid, GUID_NULL) << text;
    }
}
