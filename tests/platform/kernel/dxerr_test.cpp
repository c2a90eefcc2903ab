#include <string>

#include <gtest/gtest.h>

#include "d3d9.h"
#include "dxerr9.h"
#include "machine/control.h"
#include "machine/machine.h"
#include "windows.h"

namespace {

TEST(DxErrTest, KnownCodesHaveTheirSymbolicNames) {
    struct Case {
        HRESULT code;
        const char* name;
    };
    const Case cases[] = {
        {S_OK, "S_OK"},
        {S_FALSE, "S_FALSE"},
        {E_FAIL, "E_FAIL"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {E_INVALIDARG, "E_INVALIDARG"},
        {E_NOTIMPL, "E_NOTIMPL"},
        {E_NOINTERFACE, "E_NOINTERFACE"},
        {E_POINTER, "E_POINTER"},
        {CO_E_NOTINITIALIZED, "CO_E_NOTINITIALIZED"},
        {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
        {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
        {static_cast<HRESULT>(0x80070002), "ERROR_FILE_NOT_FOUND"},
        {D3DERR_DEVICELOST, "D3DERR_DEVICELOST"},
        {D3DERR_DEVICENOTRESET, "D3DERR_DEVICENOTRESET"},
        {D3DERR_OUTOFVIDEOMEMORY, "D3DERR_OUTOFVIDEOMEMORY"},
        {D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL"},
        {D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE"},
        {static_cast<HRESULT>(0x88780096), "DSERR_BUFFERLOST"},
        {static_cast<HRESULT>(0x0878000A), "DS_NO_VIRTUALIZATION"},
        {static_cast<HRESULT>(0x8007001E), "DIERR_INPUTLOST"},
        {static_cast<HRESULT>(0x88760352), "DXFILEERR_BADOBJECT"},
        {static_cast<HRESULT>(0x88760B55), "D3DXERR_INVALIDMESH"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(DXGetErrorString9A(c.code), c.name);
        EXPECT_EQ(std::string(DXGetErrorString9A(c.code)).find("nknown"), std::string::npos);
    }
}

TEST(DxErrTest, UnknownCodesSayUnknown) {
    for (HRESULT code : {static_cast<HRESULT>(0x82000001), static_cast<HRESULT>(0xC8770BB8), static_cast<HRESULT>(77)})
        EXPECT_NE(std::string(DXGetErrorString9A(code)).find("nknown"), std::string::npos);
}

TEST(DxErrTest, TraceWritesOneExactLineAndAnswersTheCode) {
    machine::control::ClearDebugLines();
    EXPECT_EQ(DXTraceA("dsutil", 412, E_FAIL, "FindResource", FALSE), E_FAIL);
    EXPECT_EQ(DXTraceA("Morvath", 7, static_cast<HRESULT>(0x0000ABCD), nullptr, FALSE), 0x0000ABCD);
    std::vector<std::string> lines = machine::control::DebugLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "dsutil(412): FindResource (hr=E_FAIL (0x80004005))\n");
    EXPECT_EQ(lines[1], "Morvath(7):  (hr=Unknown (0x0000abcd))\n");
    machine::control::ClearDebugLines();
}

}  // namespace
