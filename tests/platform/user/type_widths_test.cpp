// The widths the program relies on, on this 64-bit build: 32-bit results and counts, pointer-sized
// message parameters and handles, and the records stored by value or read from files.
#include <gtest/gtest.h>

#include <type_traits>

#include "d3d9.h"
#include "windows.h"

TEST(TypeWidths, ResultsAndCountsAre32BitAndFailuresAreNegative) {
    EXPECT_EQ(sizeof(HRESULT), 4u);
    EXPECT_TRUE(std::is_signed_v<HRESULT>);
    EXPECT_LT(E_OUTOFMEMORY, 0);
    EXPECT_LT(static_cast<HRESULT>(0x82000001), 0);
    EXPECT_LT(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), 0);
    EXPECT_EQ(sizeof(DWORD), 4u);
    EXPECT_EQ(sizeof(UINT), 4u);
    EXPECT_EQ(sizeof(LONG), 4u);
    EXPECT_EQ(sizeof(BOOL), 4u);
    EXPECT_EQ(sizeof(D3DFORMAT), 4u);
}

TEST(TypeWidths, MessageParametersAndHandlesArePointerSized) {
    EXPECT_EQ(sizeof(WPARAM), sizeof(void*));
    EXPECT_EQ(sizeof(LPARAM), sizeof(void*));
    EXPECT_EQ(sizeof(LRESULT), sizeof(void*));
    EXPECT_EQ(sizeof(INT_PTR), sizeof(void*));
    EXPECT_EQ(sizeof(HWND), sizeof(void*));
    EXPECT_EQ(sizeof(HCURSOR), sizeof(void*));
    EXPECT_EQ(sizeof(GetClassLongA(nullptr, GCL_HCURSOR)), sizeof(void*));
}

TEST(TypeWidths, RecordsHaveThePlatformLayouts) {
    EXPECT_EQ(sizeof(GUID), 16u);
    EXPECT_EQ(sizeof(GUID::Data1), 4u);
    EXPECT_EQ(sizeof(D3DDISPLAYMODE), 16u);
    EXPECT_EQ(offsetof(D3DDISPLAYMODE, Format), 12u);
    EXPECT_EQ(sizeof(BITMAPINFOHEADER), 40u);
    EXPECT_EQ(sizeof(RECT), 16u);
    EXPECT_EQ(sizeof(POINT), 8u);
    EXPECT_GE(sizeof(D3DADAPTER_IDENTIFIER9::Description), 512u);
}
