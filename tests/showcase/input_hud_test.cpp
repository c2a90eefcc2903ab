// The showcase's per-frame input read and its HUD lines. The read zeroes the key bytes and reads the
// keyboard; a failed keyboard read acquires it again and counts as a frame with nothing held (no
// flags, no mouse motion, no buttons). Then it zeroes and reads the mouse; a failed mouse read (the
// first one always fails: the mouse starts unacquired) acquires it and leaves the motion zero and
// the buttons as they were. The HUD lines lie at fixed heights above the bottom edge.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Morvath.h"
#include "machine/control.h"
#include "process_state.h"

namespace {

// A keyboard or mouse whose reads answer a given state or fail.
class FakeInputDevice : public IDirectInputDevice8 {
public:
    explicit FakeInputDevice(size_t size) : state(size, 0) {}
    ~FakeInputDevice() override = default;
    HRESULT QueryInterface(REFIID, void** out) override {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT Acquire() override {
        ++acquires;
        return DI_OK;
    }
    HRESULT Unacquire() override { return DI_OK; }
    HRESULT GetDeviceState(DWORD size, LPVOID data) override {
        ++reads;
        if (failing) return DIERR_NOTACQUIRED;
        if (size != state.size()) return DIERR_INVALIDPARAM;
        std::memcpy(data, state.data(), size);
        return DI_OK;
    }
    HRESULT SetDataFormat(LPCDIDATAFORMAT) override { return DI_OK; }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DI_OK; }

    std::vector<BYTE> state;
    bool failing = false;
    int reads = 0, acquires = 0;
};

class InputProbe : public CSceneApp {
public:
    using CD3DHostApp::m_backBufferDesc;
    using CD3DHostApp::m_frameStatsText;
    using CSceneApp::FormatHud;
    using CSceneApp::InitDirectInput;
    using CSceneApp::m_camera;
    using CSceneApp::m_input;
    using CSceneApp::m_pKeyboard;
    using CSceneApp::m_pMouse;
    using CSceneApp::m_textPosition;
    using CSceneApp::m_textRotation;
    using CSceneApp::PollInput;
};

class InputPolling : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        ResetFrameworkProcessState();
        app.m_pKeyboard = &keyboard;
        app.m_pMouse = &mouse;
    }
    void TearDown() override {
        app.m_pKeyboard = nullptr;
        app.m_pMouse = nullptr;
        ResetFrameworkProcessState();
        machine::control::Reset();
    }
    // A previous frame with everything held and moving.
    void HoldEverything() {
        InputState& in = app.m_input;
        in.keyUp = in.keyDown = in.keyLeft = in.keyRight = in.keyF5 = in.keyF8 = 1;
        in.mouse.lX = 5;
        in.mouse.lY = -3;
        in.mouse.lZ = 120;
        in.mouse.rgbButtons[0] = 0x80;
        in.buttonLeft = in.buttonRight = in.buttonMiddle = 1;
    }
    void Poll() { app.PollInput(&app.m_input); }
    DIMOUSESTATE2& MouseState() { return *reinterpret_cast<DIMOUSESTATE2*>(mouse.state.data()); }

    InputProbe app;
    FakeInputDevice keyboard{256};
    FakeInputDevice mouse{sizeof(DIMOUSESTATE2)};
};

TEST_F(InputPolling, AFailedKeyboardReadIsAFrameWithNothingHeld) {
    HoldEverything();
    keyboard.failing = true;
    Poll();
    const InputState& in = app.m_input;
    EXPECT_EQ(keyboard.acquires, 1);
    EXPECT_EQ(mouse.reads, 0) << "the mouse is not read that frame";
    for (BYTE key : in.keys) ASSERT_EQ(key, 0);
    EXPECT_EQ(in.keyUp + in.keyDown + in.keyLeft + in.keyRight + in.keyF5 + in.keyF8, 0u);
    EXPECT_EQ(in.mouse.lX, 0);
    EXPECT_EQ(in.mouse.lY, 0);
    EXPECT_EQ(in.mouse.lZ, 0);
    EXPECT_EQ(in.mouse.rgbButtons[0], 0);
    EXPECT_EQ(in.buttonLeft + in.buttonRight + in.buttonMiddle, 0);
}

TEST_F(InputPolling, AFailedMouseReadAcquiresItWithNoMotionAndTheButtonsAsTheyWere) {
    HoldEverything();
    keyboard.state[DIK_F8] = 0x80;
    keyboard.state[DIK_LEFT] = 0x80;
    mouse.failing = true;  // never acquired yet
    Poll();
    const InputState& in = app.m_input;
    EXPECT_EQ(mouse.acquires, 1);
    EXPECT_EQ(keyboard.acquires, 0);
    EXPECT_EQ(in.keyF8, 1u);
    EXPECT_EQ(in.keyLeft, 1u);
    EXPECT_EQ(in.keyUp + in.keyDown + in.keyRight + in.keyF5, 0u);
    EXPECT_EQ(in.mouse.lX, 0);
    EXPECT_EQ(in.mouse.lY, 0);
    EXPECT_EQ(in.mouse.lZ, 0);
    EXPECT_EQ(in.buttonLeft, 1);
    EXPECT_EQ(in.buttonRight, 1);
    EXPECT_EQ(in.buttonMiddle, 1);

    // Acquired now: the next read gives the motion and the buttons.
    mouse.failing = false;
    MouseState().lX = 7;
    MouseState().lY = -2;
    MouseState().lZ = -120;
    MouseState().rgbButtons[1] = 0x80;
    Poll();
    EXPECT_EQ(mouse.acquires, 1);
    EXPECT_EQ(in.mouse.lX, 7);
    EXPECT_EQ(in.mouse.lY, -2);
    EXPECT_EQ(in.mouse.lZ, -120);
    EXPECT_EQ(in.buttonLeft, 0);
    EXPECT_EQ(in.buttonRight, 1);
    EXPECT_EQ(in.buttonMiddle, 0);
}

TEST_F(InputPolling, EachFlagFollowsBitSevenOfItsOwnByte) {
    struct Flag {
        int code;
        DWORD InputState::*flag;
    };
    const Flag flags[] = {{DIK_UP, &InputState::keyUp},     {DIK_DOWN, &InputState::keyDown},
                          {DIK_LEFT, &InputState::keyLeft}, {DIK_RIGHT, &InputState::keyRight},
                          {DIK_F5, &InputState::keyF5},     {DIK_F8, &InputState::keyF8}};
    for (const Flag& tested : flags) {
        for (BYTE value : {BYTE{0x80}, BYTE{0xFF}, BYTE{0x7F}}) {
            std::fill(keyboard.state.begin(), keyboard.state.end(), BYTE{0});
            keyboard.state[tested.code] = value;
            // The number pad's keys are other codes than the arrows.
            keyboard.state[DIK_NUMPAD8] = keyboard.state[DIK_NUMPAD2] = 0x80;
            Poll();
            for (const Flag& other : flags)
                EXPECT_EQ(app.m_input.*other.flag, other.code == tested.code && (value & 0x80) ? 1u : 0u)
                    << "key 0x" << std::hex << tested.code << " = 0x" << int(value) << ", flag of 0x" << other.code;
            EXPECT_EQ(app.m_input.keys[tested.code], value);
        }
    }
    MouseState().rgbButtons[0] = 0x7F;
    MouseState().rgbButtons[2] = 0x80;
    MouseState().rgbButtons[3] = 0x80;  // the fourth button is shown nowhere
    Poll();
    EXPECT_EQ(app.m_input.buttonLeft, 0);
    EXPECT_EQ(app.m_input.buttonRight, 0);
    EXPECT_EQ(app.m_input.buttonMiddle, 1);
}

TEST_F(InputPolling, WithoutAKeyboardOrAMouseNothingIsHeld) {
    HoldEverything();
    app.m_pKeyboard = nullptr;
    Poll();
    EXPECT_EQ(app.m_input.keyF8 + app.m_input.keyF5, 0u);
    EXPECT_EQ(app.m_input.buttonLeft, 0);
    EXPECT_EQ(mouse.reads, 0);

    HoldEverything();
    app.m_pKeyboard = &keyboard;
    app.m_pMouse = nullptr;
    keyboard.state[DIK_F5] = 0x80;
    Poll();
    EXPECT_EQ(app.m_input.keyF5, 1u);
    EXPECT_EQ(app.m_input.mouse.lX, 0);
    EXPECT_EQ(app.m_input.buttonLeft + app.m_input.buttonRight + app.m_input.buttonMiddle, 0);
}

// The real devices, set up as the showcase sets them up (foreground use), over the machine's events.
TEST(InputPollingOnTheMachine, NothingIsHeldWhileAnotherProgramHasTheForegroundAndKeysComeBackAfter) {
    machine::control::Reset();
    ResetFrameworkProcessState();
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "InputPollingWindow";
        RegisterClassA(&wc);
        HWND window = CreateWindowExA(0, "InputPollingWindow", "Input", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                      300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        auto events = [](const char* script) {
            std::string error;
            ASSERT_TRUE(machine::control::LoadInputScript(script, error)) << error;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        };
        InputProbe app;
        ASSERT_EQ(app.InitDirectInput(window), S_OK);
        ASSERT_NE(app.m_pKeyboard, nullptr);
        ASSERT_NE(app.m_pMouse, nullptr);
        events("0 key F8 down\n0 mouse button left down\n0 mouse move 40 40\n");
        app.PollInput(&app.m_input);  // the mouse's first read fails and acquires it
        EXPECT_EQ(app.m_input.keyF8, 1u);
        EXPECT_EQ(app.m_input.buttonLeft, 0);
        events("0 mouse move 50 40\n");
        app.PollInput(&app.m_input);
        EXPECT_EQ(app.m_input.keyF8, 1u);
        EXPECT_EQ(app.m_input.buttonLeft, 1);
        EXPECT_EQ(app.m_input.mouse.lX, 10);

        events("0 mouse move 60 40\n0 window focus lost\n");
        for (int frame = 0; frame < 3; ++frame) {
            app.PollInput(&app.m_input);
            EXPECT_EQ(app.m_input.keyF8, 0u) << "frame " << frame;
            EXPECT_EQ(app.m_input.buttonLeft, 0) << "frame " << frame;
            EXPECT_EQ(app.m_input.mouse.lX, 0) << "frame " << frame;
        }

        // Back in the foreground with the keys still held: the devices are acquired again within a
        // frame or two, and the keys count once more.
        events("0 window focus gained\n");
        for (int frame = 0; frame < 3; ++frame) app.PollInput(&app.m_input);
        EXPECT_EQ(app.m_input.keyF8, 1u);
        EXPECT_EQ(app.m_input.buttonLeft, 1);
        app.ReleaseAppResources();
        DestroyWindow(window);
    }
    EXPECT_EQ(machine::control::LiveObjects("directinput device"), 0);
    ResetFrameworkProcessState();
    machine::control::Reset();
}

// The HUD's eight lines: the frame statistics at the top, and each other line at its height above
// the bottom edge in its own format.
TEST(HudLines, LieAtTheirHeightsInTheirFormats) {
    machine::control::Reset();
    ResetFrameworkProcessState();
    {
        InputProbe app;
        app.m_backBufferDesc.Height = 600;
        std::strcpy(app.m_frameStatsText, "59.99 fps (800x600), X8R8G8B8 (D16)");
        app.m_input.keyUp = 1;
        app.m_input.keyRight = 1;
        app.m_input.buttonMiddle = 1;
        app.m_input.cursorX = 5;
        app.m_input.cursorY = -5;
        app.m_camera.m_eye = D3DXVECTOR3(-46.0f, 0.9f, 64.7f);
        app.m_camera.m_lookAt = D3DXVECTOR3(-41.5f, -0.5f, 1234.0f);
        app.m_textRotation = {0.99f, -1.5f, 12.0f};
        app.m_textPosition = {-5.9f, 100.0f, -0.2f};
        HudLine lines[kHudLineCount];
        app.FormatHud(lines);
        const struct {
            float y;
            const char* text;
        } expected[] = {
            {0.0f, "59.99 fps (800x600), X8R8G8B8 (D16)"},
            {582.0f, "Arrow keys: Up=1 Down=0 Left=0 Right=1"},
            {570.0f, "mouse: L=0 M=1 R=0"},
            {558.0f, "mouse: x:005 y:-05"},
            {546.0f, "camera: x:-46 y:000 z:064"},
            {534.0f, "lookat: x:-41 y:000 z:1234"},
            {510.0f, "rotation: x:000 y:-01 z:012"},
            {498.0f, "position: x:-05 y:100 z:000"},
        };
        for (int i = 0; i < kHudLineCount; ++i) {
            EXPECT_EQ(lines[i].y, expected[i].y) << "line " << i;
            EXPECT_STREQ(lines[i].text, expected[i].text) << "line " << i;
        }
        app.m_backBufferDesc.Height = 768;
        app.FormatHud(lines);
        EXPECT_EQ(lines[1].y, 750.0f);
        EXPECT_EQ(lines[7].y, 666.0f);
    }
    ResetFrameworkProcessState();
    machine::control::Reset();
}

}  // namespace
