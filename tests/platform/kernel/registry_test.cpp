#include "kernel/registry_control.h"

#include <gtest/gtest.h>

#include "windows.h"

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { kernel::registry_control::ClearHives(); }
    void TearDown() override { kernel::registry_control::ClearHives(); }

    // Creates (or opens) HKLM\Software\Tests with every right.
    HKEY CreateTestKey() {
        HKEY key = nullptr;
        DWORD disposition = 0;
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Tests", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        return key;
    }
};

TEST_F(RegistryTest, TheSdkKeyIsAbsentByDefault) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
}

TEST_F(RegistryTest, KeysAreFoundIgnoringCase) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX SDK", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &created, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    const char path[] = "C:\\DXSDK";
    ASSERT_EQ(RegSetValueExA(created, "DX9SDK Samples Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                             sizeof(path)),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(created), ERROR_SUCCESS);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\microsoft\\directx sdk", 0, KEY_READ, &key), ERROR_SUCCESS);
    char buffer[260];
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "dx9sdk samples path", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof(path));
    EXPECT_STREQ(buffer, path);
    // The other hives are separate.
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft", 0, KEY_READ, &created), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, TextIsStoredExactlyAsGiven) {
    HKEY key = CreateTestKey();
    ASSERT_EQ(RegSetValueExA(key, "abc", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("xyz"), 3), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "abc", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);  // the size only
    EXPECT_EQ(size, 4u);
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    size = sizeof(buffer);
    ASSERT_EQ(RegQueryValueExA(key, "bare", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(buffer, 4), "xyz#");  // no terminator added
    RegCloseKey(key);
}

TEST_F(RegistryTest, ABufferTooSmallGivesMoreDataAndTheSizeNeeded) {
    HKEY key = CreateTestKey();
    const char text[] = "a long enough value";
    ASSERT_EQ(RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text)), ERROR_SUCCESS);
    char buffer[4] = {'#', '#', '#', '#'};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof(text));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, NumbersAndBlocksKeepTheirType) {
    HKEY key = CreateTestKey();
    DWORD number = 0xDEADBEEF;
    const BYTE block[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_EQ(RegSetValueExA(key, "n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "b", 0, REG_BINARY, block, 16), ERROR_SUCCESS);

    DWORD read = 0, size = 4, type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "N", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(read, number);
    BYTE copy[16] = {};
    size = 16;
    ASSERT_EQ(RegQueryValueExA(key, "b", nullptr, &type, copy, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::memcmp(copy, block, 16), 0);
    RegCloseKey(key);
}

TEST_F(RegistryTest, AccessRightsAndStaleHandlesAreChecked) {
    RegCloseKey(CreateTestKey());
    HKEY readOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Tests", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
    DWORD one = 1;
    EXPECT_EQ(RegSetValueExA(readOnly, "n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
              ERROR_ACCESS_DENIED);
    kernel::registry_control::ClearHives();
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueExA(readOnly, "n", nullptr, nullptr, reinterpret_cast<BYTE*>(&one), &size),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(reinterpret_cast<HKEY>(0x77), "n", nullptr, nullptr, nullptr, &size),
              ERROR_INVALID_HANDLE);
}

}  // namespace
