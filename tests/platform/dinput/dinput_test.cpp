// DirectInput over the machine: creation, data formats and cooperative levels, the keyboard's key
// bytes, the mouse's relative motion, and the foreground rule.
#include <cstring>

#include "dinput.h"
#include "dxerr9.h"
#include "window_test_support.h"

namespace {

class DirectInputTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = CreateMainWindow();
        Drain();
        ASSERT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A,
                                     reinterpret_cast<void**>(&input), nullptr),
                  DI_OK);
        ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
        ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
        ASSERT_EQ(keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY), DI_OK);
        ASSERT_EQ(input->CreateDevice(GUID_SysMouse, &mouse, nullptr), DI_OK);
        ASSERT_EQ(mouse->SetDataFormat(&c_dfDIMouse2), DI_OK);
        ASSERT_EQ(mouse->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    }
    void TearDown() override {
        if (mouse) mouse->Release();
        if (keyboard) keyboard->Release();
        if (input) input->Release();
        EXPECT_EQ(machine::control::LiveObjects("directinput"), 0);
        EXPECT_EQ(machine::control::LiveObjects("directinput device"), 0);
        WindowTest::TearDown();
    }
    static void Script(const std::string& text) {
        std::string error;
        ASSERT_TRUE(machine::control::LoadInputScript(text, error)) << error;
        Drain();
    }
    HRESULT ReadKeys(BYTE (&keys)[256]) { return keyboard->GetDeviceState(sizeof keys, keys); }
    HRESULT ReadMouse(DIMOUSESTATE2& state) {
        std::memset(&state, 0x55, sizeof state);
        return mouse->GetDeviceState(sizeof state, &state);
    }

    HWND window = nullptr;
    IDirectInput8* input = nullptr;
    IDirectInputDevice8* keyboard = nullptr;
    IDirectInputDevice8* mouse = nullptr;
};

TEST_F(DirectInputTest, CreationRefusesWhatItDoesNotOffer) {
    void* out = reinterpret_cast<void*>(1);
    const HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(DirectInput8Create(self, 0x0700, IID_IDirectInput8A, &out, nullptr), DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DirectInput8Create(self, 0x0900, IID_IDirectInput8A, &out, nullptr), DIERR_BETADIRECTINPUTVERSION);
    EXPECT_EQ(DirectInput8Create(self, 0x0800, IID_IDirectInputDevice8A, &out, nullptr), DIERR_NOINTERFACE);
    EXPECT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IDirectInput8A, &out, nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(DirectInput8Create(self, 0x0800, IID_IDirectInput8A, &out, input), DIERR_NOAGGREGATION);
    IDirectInputDevice8* device = reinterpret_cast<IDirectInputDevice8*>(1);
    EXPECT_EQ(input->CreateDevice(IID_IDirectInput8A, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
    EXPECT_STREQ(DXGetErrorString9A(DIERR_NOTACQUIRED), "DIERR_NOTACQUIRED");
    EXPECT_STREQ(DXGetErrorString9A(DIERR_INPUTLOST), "DIERR_INPUTLOST");
}

TEST_F(DirectInputTest, FormatsAndLevelsAreCheckedAndFixedWhileAcquired) {
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse2), DIERR_UNSUPPORTED);
    EXPECT_EQ(mouse->SetDataFormat(&c_dfDIKeyboard), DIERR_UNSUPPORTED);
    EXPECT_EQ(keyboard->SetDataFormat(nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(mouse->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(reinterpret_cast<HWND>(0x1234), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              E_HANDLE);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DI_NOEFFECT);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DIERR_ACQUIRED);
    BYTE small[16];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof small, small), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->Unacquire(), DI_OK);
    EXPECT_EQ(keyboard->Unacquire(), DI_NOEFFECT);

    IDirectInputDevice8* bare = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &bare, nullptr), DI_OK);
    EXPECT_EQ(bare->Acquire(), DIERR_INVALIDPARAM) << "no data format yet";
    bare->Release();
}

TEST_F(DirectInputTest, KeyBytesFollowTheKeysAndKeepTheNumberPadApart) {
    BYTE keys[256];
    EXPECT_EQ(ReadKeys(keys), DIERR_NOTACQUIRED) << "never acquired";
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    Script("0 key NUMPAD4 down\n0 key W down\n0 key F5 down\n0 key F5 up\n");
    ASSERT_EQ(ReadKeys(keys), DI_OK);
    EXPECT_EQ(keys[DIK_NUMPAD4], 0x80);
    EXPECT_EQ(keys[DIK_LEFT], 0) << "number pad 4 is not the left arrow";
    EXPECT_EQ(keys[DIK_W], 0x80);
    EXPECT_EQ(keys[DIK_F5], 0);
    Script("0 key NUMPAD4 up\n0 key LEFT down\n");
    ASSERT_EQ(ReadKeys(keys), DI_OK);
    EXPECT_EQ(keys[DIK_NUMPAD4], 0);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    int down = 0;
    for (BYTE b : keys) down += b == 0x80;
    EXPECT_EQ(down, 2);
}

TEST_F(DirectInputTest, MouseMotionCountsSinceTheLastRead) {
    Script("0 mouse move 100 100\n");
    DIMOUSESTATE2 state;
    EXPECT_EQ(ReadMouse(state), DIERR_NOTACQUIRED) << "the first read of a mouse never acquired fails";
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    ASSERT_EQ(ReadMouse(state), DI_OK);
    EXPECT_EQ(state.lX, 0) << "motion before the acquire is not counted";
    Script("0 mouse move 110 95\n0 mouse move 130 90\n0 mouse wheel 120\n0 mouse wheel -240\n"
           "0 mouse button right down\n");
    ASSERT_EQ(ReadMouse(state), DI_OK);
    EXPECT_EQ(state.lX, 30);
    EXPECT_EQ(state.lY, -10);
    EXPECT_EQ(state.lZ, -120);
    const BYTE buttons[8] = {0, 0x80, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(state.rgbButtons, buttons, 8), 0);
    ASSERT_EQ(ReadMouse(state), DI_OK);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lY, 0);
    EXPECT_EQ(state.lZ, 0);
    EXPECT_EQ(state.rgbButtons[1], 0x80) << "buttons are states, not motion";
    // The four-button record is the first part of the same state.
    ASSERT_EQ(mouse->Unacquire(), DI_OK);
    ASSERT_EQ(mouse->SetDataFormat(&c_dfDIMouse), DI_OK);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    Script("0 mouse move 131 90\n");
    DIMOUSESTATE small;
    ASSERT_EQ(mouse->GetDeviceState(sizeof small, &small), DI_OK);
    EXPECT_EQ(small.lX, 1);
}

TEST_F(DirectInputTest, ForegroundDevicesStopWhileAnotherProgramHasTheForeground) {
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    IDirectInputDevice8* background = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &background, nullptr), DI_OK);
    ASSERT_EQ(background->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    ASSERT_EQ(background->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    ASSERT_EQ(background->Acquire(), DI_OK);
    test::g_log.clear();
    Script("0 window focus lost\n0 key F8 down\n");
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_EQ(Messages({WM_ACTIVATEAPP, WM_KEYDOWN}), (std::vector<UINT>{WM_ACTIVATEAPP}))
        << "the keys go to the other program";

    BYTE keys[256];
    DIMOUSESTATE2 state;
    EXPECT_EQ(ReadKeys(keys), DIERR_INPUTLOST);
    EXPECT_EQ(ReadKeys(keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(ReadMouse(state), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(mouse->Acquire(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(background->GetDeviceState(sizeof keys, keys), DI_OK) << "a background device keeps reading";
    EXPECT_EQ(keys[DIK_F8], 0x80);

    Script("0 window focus gained\n");
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(ReadKeys(keys), DIERR_NOTACQUIRED) << "lost devices wait for the program's Acquire";
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ASSERT_EQ(ReadKeys(keys), DI_OK);
    EXPECT_EQ(keys[DIK_F8], 0x80);

    // Lost and regained between two reads: the device was given up all the same.
    Script("0 window focus lost\n0 window focus gained\n");
    EXPECT_EQ(ReadKeys(keys), DIERR_INPUTLOST);
    background->Release();
}

}  // namespace
