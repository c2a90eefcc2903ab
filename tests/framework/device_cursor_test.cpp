// The device cursor: colour and monochrome cursors through GDI onto a scratch surface, the pixel rule,
// the badge, and the release of everything on every path.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device_cursor.h"
#include "machine/control.h"
#include "support/fake_device.h"
#include "user/cursors.h"

namespace {

// A scratch surface in system memory, with a lock that can be made to fail.
class ScratchSurface : public IDirect3DSurface9 {
public:
    ScratchSurface(UINT width, UINT height) : pixels(static_cast<size_t>(width) * height, 0xDEADBEEF) {
        desc.Width = width;
        desc.Height = height;
        desc.Format = D3DFMT_A8R8G8B8;
        desc.Pool = D3DPOOL_SCRATCH;
    }
    HRESULT QueryInterface(REFIID, void** ppv) override {
        if (ppv) *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refCount; }
    ULONG Release() override { return refCount > 0 ? --refCount : 0; }
    HRESULT GetDevice(IDirect3DDevice9** pp) override {
        if (pp) *pp = nullptr;
        return D3DERR_INVALIDCALL;
    }
    DWORD SetPriority(DWORD) override { return 0; }
    DWORD GetPriority() override { return 0; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override {
        *pDesc = desc;
        return D3D_OK;
    }
    HRESULT LockRect(D3DLOCKED_RECT* pLocked, const RECT*, DWORD) override {
        if (FAILED(lockResult)) return lockResult;
        pLocked->pBits = pixels.data();
        pLocked->Pitch = static_cast<INT>(desc.Width * 4);
        locked = true;
        return D3D_OK;
    }
    HRESULT UnlockRect() override {
        locked = false;
        return D3D_OK;
    }

    D3DSURFACE_DESC desc{};
    std::vector<DWORD> pixels;
    ULONG refCount = 1;
    HRESULT lockResult = D3D_OK;
    bool locked = false;
};

// A device that makes scratch surfaces and copies the cursor image it is given.
class CursorDevice : public test::FakeDevice {
public:
    CursorDevice() : FakeDevice(D3DPRESENT_PARAMETERS{}) {}

    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** ppSurface, HANDLE* pShared) override {
        ++surfacesAsked;
        EXPECT_EQ(format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(pool, D3DPOOL_SCRATCH);
        EXPECT_EQ(pShared, nullptr);
        if (FAILED(createResult)) return createResult;
        surface = std::make_unique<ScratchSurface>(width, height);
        surface->lockResult = lockResult;
        *ppSurface = surface.get();
        return D3D_OK;
    }
    HRESULT SetCursorProperties(UINT x, UINT y, IDirect3DSurface9* pBitmap) override {
        hotSpot = {static_cast<LONG>(x), static_cast<LONG>(y)};
        auto* scratch = static_cast<ScratchSurface*>(pBitmap);
        EXPECT_FALSE(scratch->locked);
        image = scratch->pixels;
        return setResult;
    }

    HRESULT createResult = D3D_OK;
    HRESULT lockResult = D3D_OK;
    HRESULT setResult = D3D_OK;
    int surfacesAsked = 0;
    std::unique_ptr<ScratchSurface> surface;
    std::vector<DWORD> image;
    POINT hotSpot{-1, -1};
};

// A cursor from rows of characters: '#' an opaque pixel (colour from `colors` or the XOR bit), '.'
// transparent (AND bit set), '~' inverting (monochrome: AND and XOR set).
HCURSOR MakeCursor(const std::vector<std::string>& rows, bool monochrome, DWORD color = 0x00336699,
                   POINT hotSpot = {3, 4}) {
    auto image = std::make_shared<user::CursorImage>();
    image->width = static_cast<int>(rows[0].size());
    image->height = static_cast<int>(rows.size());
    image->hotspotX = hotSpot.x;
    image->hotspotY = hotSpot.y;
    image->monochrome = monochrome;
    const int rowBytes = image->MaskRowBytes();
    image->mask.assign(static_cast<size_t>(rowBytes) * image->MaskHeight(), 0);
    auto setBit = [&](int x, int y) { image->mask[static_cast<size_t>(y) * rowBytes + x / 8] |= 0x80 >> (x % 8); };
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const char c = rows[y][x];
            if (c == '.' || c == '~') setBit(x, y);
            if (monochrome && (c == '~' || c == 'w')) setBit(x, y + image->height);  // XOR half below
            if (!monochrome) image->color.push_back(c == '#' ? color + static_cast<DWORD>(x) : 0x00FFFFFF);
        }
    }
    return user::AddCursor(image);
}

class DeviceCursor : public ::testing::Test {
protected:
    void SetUp() override { machine::control::Reset(); }
    void TearDown() override {
        // Nothing the operation obtained outlives it, whatever the path.
        for (const char* kind : {"bitmap", "memory dc", "screen dc"})
            EXPECT_EQ(machine::control::LiveObjects(kind), 0) << kind;
        if (device.surface) {
            EXPECT_EQ(device.surface->refCount, 0u);
        }
        machine::control::Reset();
    }
    DWORD Pixel(int x, int y) const { return device.image[static_cast<size_t>(y) * device.surface->desc.Width + x]; }

    CursorDevice device;
};

TEST_F(DeviceCursor, AColourCursorKeepsItsColoursOpaqueWhereTheMaskIsClear) {
    HCURSOR cursor = MakeCursor({"#..#", "....", "##.#"}, false);
    ASSERT_EQ(S_OK, ApplyCursorToDevice(&device, cursor, false));
    ASSERT_EQ(device.surface->desc.Width, 4u);
    ASSERT_EQ(device.surface->desc.Height, 3u);
    EXPECT_EQ(device.hotSpot.x, 3);
    EXPECT_EQ(device.hotSpot.y, 4);
    EXPECT_EQ(Pixel(0, 0), 0xFF336699u);
    EXPECT_EQ(Pixel(3, 0), 0xFF33669Cu) << "each pixel keeps its own red, green and blue";
    EXPECT_EQ(Pixel(1, 0), 0u) << "a set AND bit is transparent whatever the colour";
    EXPECT_EQ(Pixel(2, 1), 0u);
    EXPECT_EQ(Pixel(1, 2), 0xFF33669Au) << "rows come out top first";
}

TEST_F(DeviceCursor, AMonochromeCursorTakesItsColourFromTheXorHalf) {
    // '#' black (AND 0, XOR 0), 'w' white (AND 0, XOR 1), '.' transparent, '~' inverting.
    HCURSOR cursor = MakeCursor({"#w.~", "ww##", "~..#"}, true);
    ASSERT_EQ(S_OK, ApplyCursorToDevice(&device, cursor, false));
    ASSERT_EQ(device.surface->desc.Height, 3u) << "half the mask's height";
    const std::vector<DWORD> expected = {0xFF000000, 0xFFFFFFFF, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF,
                                         0xFF000000, 0xFF000000, 0, 0, 0, 0xFF000000};
    EXPECT_EQ(device.image, expected) << "inverting pixels become transparent";
}

TEST_F(DeviceCursor, TheBadgeSpellsD3DInTheTopLeftCorner) {
    const std::vector<std::string> clear(8, std::string(16, '.'));
    ASSERT_EQ(S_OK, ApplyCursorToDevice(&device, MakeCursor(clear, false), true));
    const char* kBadge[] = {"##..##..##..", "#.#...#.#.#.", "#.#..#..#.#.", "#.#...#.#.#.", "##..##..##.."};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool set = y < 5 && x < 12 && kBadge[y][x] == '#';
            EXPECT_EQ(Pixel(x, y), set ? 0xFF808080u : 0u) << x << "," << y;
        }
    }
}

TEST_F(DeviceCursor, TheBadgeOnAnOpaqueCursorGreysBlackAndLeavesWhite) {
    HCURSOR cursor = MakeCursor({"#w", "ww", "##"}, true);  // smaller than the badge
    ASSERT_EQ(S_OK, ApplyCursorToDevice(&device, cursor, true));
    // Badge columns 0 and 1: rows 0 and 1 set in both, row 2 in column 0 only.
    EXPECT_EQ(device.image, (std::vector<DWORD>{0xFF808080, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF808080,
                                                0xFF000000}));
}

TEST_F(DeviceCursor, AnOddMaskHeightTakesTheXorRowsRightBelowTheAndRows) {
    // Image rows top-down: AND 0, AND 1, XOR 0, XOR 1, and a last row that belongs to neither.
    // GetDIBits gives them bottom-up.
    const DWORD imageRows[5] = {0, 0, 0x00000011, 0x00000022, 0x00000099};
    DWORD bottomUp[5];
    for (int r = 0; r < 5; ++r) bottomUp[r] = imageRows[4 - r];
    DWORD out[2] = {};
    ComposeCursorImage(bottomUp, nullptr, 1, 5, 2, false, reinterpret_cast<BYTE*>(out), 4);
    EXPECT_EQ(out[0], 0xFF000011u);
    EXPECT_EQ(out[1], 0xFF000022u);
}

TEST_F(DeviceCursor, EveryFailureIsReturnedAndReleasesWhatWasObtained) {
    struct Case {
        const char* name;
        HRESULT create, lock, set;
        HRESULT expected;
    };
    const Case cases[] = {
        {"surface not created", D3DERR_OUTOFVIDEOMEMORY, D3D_OK, D3D_OK, D3DERR_OUTOFVIDEOMEMORY},
        {"surface not locked", D3D_OK, D3DERR_INVALIDCALL, D3D_OK, D3DERR_INVALIDCALL},
        {"image refused", D3D_OK, D3D_OK, D3DERR_NOTAVAILABLE, D3DERR_NOTAVAILABLE},
        {"a success code", D3D_OK, D3D_OK, S_FALSE, S_OK},
    };
    for (const Case& c : cases) {
        CursorDevice failing;
        failing.createResult = c.create;
        failing.lockResult = c.lock;
        failing.setResult = c.set;
        EXPECT_EQ(c.expected, ApplyCursorToDevice(&failing, MakeCursor({"#.", ".#"}, false), false)) << c.name;
        if (failing.surface) {
            EXPECT_EQ(failing.surface->refCount, 0u) << c.name;
        }
        if (c.lock != D3D_OK) {
            EXPECT_TRUE(failing.image.empty()) << c.name;
        }
        for (const char* kind : {"bitmap", "memory dc", "screen dc"})
            EXPECT_EQ(machine::control::LiveObjects(kind), 0) << c.name << ": " << kind;
    }
}

TEST_F(DeviceCursor, AnInvalidCursorFailsWithoutTouchingTheDevice) {
    EXPECT_EQ(E_FAIL, ApplyCursorToDevice(&device, reinterpret_cast<HCURSOR>(0x1234), true));
    EXPECT_EQ(E_FAIL, ApplyCursorToDevice(&device, nullptr, true));
    EXPECT_EQ(device.surfacesAsked, 0);
}

}  // namespace
