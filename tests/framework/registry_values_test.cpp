// Registry readers and writers under a key the test opened in the layer's in-memory registry.
#include "registry_values.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/sdk_registry.h"

namespace {

constexpr GUID kBlock = {0x3D82AB44, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
constexpr GUID kOtherBlock = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};

class RegistryValues : public ::testing::Test {
protected:
    void SetUp() override { key = ScopedRegistry::CreateKey(HKEY_CURRENT_USER, "Software\\Morvath\\Tests"); }
    void TearDown() override { RegCloseKey(key); }

    struct Raw {
        LONG result = -1;
        DWORD type = 0;
        DWORD size = 0;
        BYTE data[64] = {};
    };
    Raw Query(const char* name) const {
        Raw raw;
        raw.size = sizeof(raw.data);
        raw.result = RegQueryValueExA(key, name, nullptr, &raw.type, raw.data, &raw.size);
        return raw;
    }

    ScopedRegistry registry;
    HKEY key = nullptr;
};

}  // namespace

TEST_F(RegistryValues, TextIsStoredWithItsTerminatorAndReadBack) {
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(RegistrySetText(key, "Name", "abc"), S_OK);
    Raw raw = Query("Name");
    EXPECT_EQ(raw.result, ERROR_SUCCESS);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.size, 4u);
    EXPECT_EQ(std::memcmp(raw.data, "abc", 4), 0);

    char text[16];
    EXPECT_EQ(RegistryGetText(key, "Name", text, sizeof(text), "default"), S_OK);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(RegistryGetTextBytes(key, "Name", text, sizeof(text), "default"), S_OK);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(RegistrySetText(key, "Name", nullptr), E_INVALIDARG);
}

TEST_F(RegistryValues, TextWithoutTerminatorEndsAtTheStoredSize) {
    ScopedRegistry::SetRaw(key, "Bare", REG_SZ, "abc", 3);
    char text[16];
    std::memset(text, 'x', sizeof(text));
    EXPECT_EQ(RegistryGetText(key, "Bare", text, sizeof(text), "default"), S_OK);
    EXPECT_STREQ(text, "abc");
    // Exactly filling the buffer: cut at the capacity.
    ScopedRegistry::SetRaw(key, "Full", REG_SZ, "0123456789abcdef", 16);
    EXPECT_EQ(RegistryGetText(key, "Full", text, sizeof(text), "default"), S_OK);
    EXPECT_STREQ(text, "0123456789abcde");
}

TEST_F(RegistryValues, TextReadersFallBackToTheDefault) {
    ScopedRegistry::SetRaw(key, "Number", REG_DWORD, "\x01\x00\x00\x00", 4);
    ScopedRegistry::SetRaw(key, "Long", REG_SZ, "a text longer than the buffer", 30);
    const struct {
        const char* name;
        const char* defaultText;
        const char* expected;
    } cases[] = {
        {"Absent", "fallback", "fallback"},
        {"Number", "fallback", "fallback"},             // another type
        {"Long", "fallback", "fallback"},               // does not fit
        {"Absent", "a default that is too long", "a default that "},
        {"Absent", nullptr, ""},
    };
    for (const auto& c : cases) {
        char text[16];
        std::memset(text, 'x', sizeof(text));
        EXPECT_EQ(RegistryGetText(key, c.name, text, sizeof(text), c.defaultText), S_FALSE) << c.name;
        EXPECT_STREQ(text, c.expected) << c.name;
    }
    char text[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(RegistryGetText(key, "Absent", text, 0, "d"), E_INVALIDARG);
    EXPECT_EQ(text[0], 'x');
    EXPECT_EQ(RegistryGetText(key, "Absent", nullptr, 4, "d"), E_INVALIDARG);
}

TEST_F(RegistryValues, NumbersAreFourBytesOfRegDword) {
    EXPECT_EQ(RegistrySetDword(key, "Count", 0xDEADBEEF), S_OK);
    Raw raw = Query("Count");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw.size, 4u);

    DWORD value = 0;
    EXPECT_EQ(RegistryGetDword(key, "Count", &value, 7), S_OK);
    EXPECT_EQ(value, 0xDEADBEEFu);
    EXPECT_EQ(RegistrySetDwordTwin(key, "Twin", 42), S_OK);
    EXPECT_EQ(RegistryGetDwordTwin(key, "Twin", &value, 7), S_OK);
    EXPECT_EQ(value, 42u);

    ScopedRegistry::SetRaw(key, "Text", REG_SZ, "abc", 4);
    ScopedRegistry::SetRaw(key, "Short", REG_DWORD, "\x01\x02", 2);
    for (const char* name : {"Absent", "Text", "Short"}) {
        value = 0;
        EXPECT_EQ(RegistryGetDword(key, name, &value, 7), S_FALSE) << name;
        EXPECT_EQ(value, 7u) << name;
    }
    EXPECT_EQ(RegistryGetDword(key, "Count", nullptr, 7), E_INVALIDARG);
}

TEST_F(RegistryValues, BlocksAreSixteenBytesOfRegBinary) {
    EXPECT_EQ(RegistrySetBinary16(key, "Block", kBlock), S_OK);
    Raw raw = Query("Block");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw.size, 16u);
    EXPECT_EQ(std::memcmp(raw.data, &kBlock, 16), 0);

    GUID value = {};
    EXPECT_EQ(RegistryGetBinary16(key, "Block", &value, &kOtherBlock), S_OK);
    EXPECT_EQ(value, kBlock);

    ScopedRegistry::SetRaw(key, "Half", REG_BINARY, &kBlock, 8);
    for (const char* name : {"Absent", "Half"}) {
        value = {};
        EXPECT_EQ(RegistryGetBinary16(key, name, &value, &kOtherBlock), S_FALSE) << name;
        EXPECT_EQ(value, kOtherBlock) << name;
    }
    value = kBlock;
    EXPECT_EQ(RegistryGetBinary16(key, "Absent", &value, nullptr), S_FALSE);
    EXPECT_EQ(value, GUID_NULL);
    EXPECT_EQ(RegistryGetBinary16(key, "Block", nullptr, &kOtherBlock), E_INVALIDARG);
}

TEST_F(RegistryValues, NullNamesMeanTheUnnamedValueAndNullKeysFailSafely) {
    EXPECT_EQ(RegistrySetDword(key, nullptr, 5), S_OK);
    DWORD value = 0;
    EXPECT_EQ(RegistryGetDword(key, nullptr, &value, 9), S_OK);
    EXPECT_EQ(value, 5u);
    EXPECT_EQ(RegistrySetText(key, nullptr, "unnamed"), S_OK);
    char text[16];
    EXPECT_EQ(RegistryGetText(key, nullptr, text, sizeof(text), "d"), S_OK);
    EXPECT_STREQ(text, "unnamed");

    EXPECT_EQ(RegistrySetText(nullptr, "Name", "abc"), E_FAIL);
    EXPECT_EQ(RegistrySetDword(nullptr, "Name", 1), E_FAIL);
    EXPECT_EQ(RegistrySetBinary16(nullptr, "Name", kBlock), E_FAIL);
    EXPECT_EQ(RegistryGetText(nullptr, "Name", text, sizeof(text), "d"), S_FALSE);
    EXPECT_STREQ(text, "d");
    EXPECT_EQ(RegistryGetDword(nullptr, "Name", &value, 9), S_FALSE);
    EXPECT_EQ(value, 9u);
}
