// The trackball's sphere mapping, drags, pans and zooms, the messages it ignores, an unsized window,
// and the cursor rotation.
#include "trackball.h"

#include <gtest/gtest.h>

#include <cmath>

#include "machine/control.h"

namespace {

// Client coordinates as the messages carry them: two signed 16-bit halves.
LPARAM At(int x, int y) { return LPARAM(uint32_t(uint16_t(x)) | uint32_t(uint16_t(y)) << 16); }

void ExpectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-6f);
    EXPECT_NEAR(a.y, b.y, 1e-6f);
    EXPECT_NEAR(a.z, b.z, 1e-6f);
}

bool IsIdentity(const D3DXMATRIX& m) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return m == identity;
}

class Trackball : public ::testing::Test {
protected:
    void SetUp() override { ball.SetWindowSize(640, 480, 1.0f); }
    LRESULT Send(UINT message, WPARAM flags, int x, int y) { return ball.ApplyMouseMessage(nullptr, message, flags, At(x, y)); }
    CTrackball ball;
};

TEST_F(Trackball, ScreenPointsMapOntoTheSphere) {
    ExpectNear(ball.ScreenToSphere(320, 240), D3DXVECTOR3(0, 0, 1));
    ExpectNear(ball.ScreenToSphere(0, 240), D3DXVECTOR3(1, 0, 0));  // x grows to the left
    ExpectNear(ball.ScreenToSphere(320, 480), D3DXVECTOR3(0, 1, 0));  // y grows downward
    // Outside the outline: pulled onto it.
    ExpectNear(ball.ScreenToSphere(0, 0), D3DXVECTOR3(0.70710678f, -0.70710678f, 0));
    ball.m_invert = TRUE;
    ExpectNear(ball.ScreenToSphere(0, 240), D3DXVECTOR3(-1, 0, 0));
}

TEST_F(Trackball, ALeftDragTurnsFromWhereItBeganWithoutDrift) {
    EXPECT_EQ(Send(WM_LBUTTONDOWN, MK_LBUTTON, 320, 240), 1);
    EXPECT_TRUE(ball.m_dragging);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 320, 240);  // back on the start point: no turn
    EXPECT_TRUE(ball.m_currentOrientation == ball.m_downOrientation);

    Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 300);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 0, 240);
    // The front point is carried to the sphere point under the cursor.
    D3DXVECTOR3 turned;
    const D3DXVECTOR3 front(0, 0, 1);
    D3DXVec3TransformNormal(&turned, &front, &ball.m_rotation);
    ExpectNear(turned, D3DXVECTOR3(1, 0, 0));
    EXPECT_TRUE(ball.m_rotationStep == ball.m_rotation);  // the drag began at the identity

    EXPECT_EQ(Send(WM_LBUTTONUP, 0, 0, 240), 1);
    EXPECT_FALSE(ball.m_dragging);
    // A new drag builds on the orientation reached.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 320, 240);
    EXPECT_TRUE(ball.m_downOrientation == ball.m_currentOrientation);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 320, 240);
    D3DXVec3TransformNormal(&turned, &front, &ball.m_rotation);
    ExpectNear(turned, D3DXVECTOR3(1, 0, 0));
    EXPECT_TRUE(IsIdentity(ball.m_rotationStep));
}

TEST_F(Trackball, AMoveWithTheLeftButtonHeldStartsADragWithoutTurning) {
    EXPECT_EQ(Send(WM_MOUSEMOVE, MK_LBUTTON, 10, 10), 1);
    EXPECT_TRUE(ball.m_dragging);
    EXPECT_TRUE(IsIdentity(ball.m_rotationStep));
    EXPECT_TRUE(IsIdentity(ball.m_rotation));
}

TEST_F(Trackball, RightDragsPanAndMiddleDragsZoom) {
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 100, 100);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 110, 100);
    EXPECT_FLOAT_EQ(ball.m_translation._41, 0.03125f);
    EXPECT_FLOAT_EQ(ball.m_translationStep._41, 0.03125f);

    ball.ResetState();
    Send(WM_MBUTTONDOWN, MK_MBUTTON, 100, 100);
    Send(WM_MOUSEMOVE, MK_MBUTTON, 100, 52);
    EXPECT_FLOAT_EQ(ball.m_translation._43, 0.5f);
    EXPECT_FLOAT_EQ(ball.m_translation._41, 0.0f);

    // Both held: the right button pans. Steps accumulate, scaled by the pan radius.
    ball.ResetState();
    ball.SetPanRadius(2.0f);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 0, 0);
    Send(WM_MOUSEMOVE, MK_RBUTTON | MK_MBUTTON, 0, -48);  // signed coordinates: above the client area
    Send(WM_MOUSEMOVE, MK_RBUTTON | MK_MBUTTON, 0, -96);
    EXPECT_FLOAT_EQ(ball.m_translation._42, 2.0f * 2.0f * 96 / 480);  // moved up: panned up
    EXPECT_FLOAT_EQ(ball.m_translation._43, 0.0f);
}

TEST_F(Trackball, OtherMessagesAreNotUsed) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 320, 240);
    for (UINT message : {UINT(WM_LBUTTONDBLCLK), UINT(WM_RBUTTONUP), UINT(WM_MBUTTONUP), UINT(WM_KEYDOWN)}) {
        SCOPED_TRACE(message);
        EXPECT_EQ(Send(message, MK_LBUTTON, 0, 0), 0);
        EXPECT_TRUE(ball.m_dragging);
        EXPECT_TRUE(IsIdentity(ball.m_rotation));
    }
    EXPECT_EQ(Send(WM_MOUSEMOVE, 0, 5, 5), 1);  // no button: used, nothing changes
    EXPECT_TRUE(IsIdentity(ball.m_rotation));
}

TEST_F(Trackball, AnUnsizedWindowChangesNothing) {
    for (int size : {0, 1}) {
        CTrackball fresh;
        if (size == 0) fresh.SetWindowSize(0, 0, 1.0f);  // minimised; the other ball was never sized
        ExpectNear(fresh.ScreenToSphere(10, 10), D3DXVECTOR3(0, 0, 1));
        fresh.ApplyMouseMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
        fresh.ApplyMouseMessage(nullptr, WM_MOUSEMOVE, MK_LBUTTON, At(300, 50));
        fresh.ApplyMouseMessage(nullptr, WM_RBUTTONDOWN, MK_RBUTTON, At(10, 10));
        fresh.ApplyMouseMessage(nullptr, WM_MOUSEMOVE, MK_RBUTTON, At(300, 50));
        EXPECT_TRUE(IsIdentity(fresh.m_rotation));
        EXPECT_TRUE(IsIdentity(fresh.m_translation));
        EXPECT_EQ(fresh.m_currentOrientation.w, 1.0f);
    }
}

TEST_F(Trackball, ThePanAnchorIsSharedByEveryTrackball) {
    CTrackball other;
    other.SetWindowSize(640, 480, 1.0f);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 100, 100);
    other.ApplyMouseMessage(nullptr, WM_MOUSEMOVE, MK_RBUTTON, At(110, 100));
    EXPECT_FLOAT_EQ(other.m_translation._41, 0.03125f);
}

TEST(QuatBetweenVectors, TurnsOneDirectionOntoTheOther) {
    const D3DXVECTOR3 from(0, 0, 3), to(0, 2, 0);
    D3DXQUATERNION q;
    EXPECT_EQ(QuatBetweenVectors(&q, &from, &to), &q);
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &q);
    D3DXVECTOR3 turned;
    D3DXVec3TransformNormal(&turned, &from, &m);
    ExpectNear(turned, D3DXVECTOR3(0, 3, 0));
    EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, 1e-6f);
}

class CursorRotation : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "TrackballWindow";
        RegisterClassA(&wc);
    }
    HWND Window(DWORD style, int width, int height) {
        HWND window = CreateWindowExA(0, "TrackballWindow", "", style, 50, 40, width, height, nullptr, nullptr,
                                      nullptr, nullptr);
        windows.push_back(window);
        return window;
    }
    void PutCursor(HWND window, int x, int y) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        SetCursorPos(p.x, p.y);
    }
    void TearDown() override {
        for (HWND w : windows) DestroyWindow(w);
    }
    std::vector<HWND> windows;
};

TEST_F(CursorRotation, IsTheIdentityAtTheCentreAndForAnEmptyClientArea) {
    HWND window = Window(WS_POPUP | WS_VISIBLE, 200, 100);
    PutCursor(window, 100, 50);
    D3DXQUATERNION q = CursorTrackballRotation(window, 1.0f);
    EXPECT_TRUE(q == D3DXQUATERNION(0, 0, 0, 1));

    PutCursor(window, 150, 50);  // x = 0.5: on the sphere, turned about the y axis
    q = CursorTrackballRotation(window, 1.0f);
    EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, 1e-5f);
    EXPECT_NEAR(q.x, 0.0f, 1e-6f);
    EXPECT_NEAR(q.z, 0.0f, 1e-6f);
    EXPECT_GT(std::fabs(q.y), 0.1f);

    HWND empty = Window(WS_POPUP | WS_VISIBLE, 0, 0);
    PutCursor(empty, 3, 3);
    q = CursorTrackballRotation(empty, 1.0f);
    EXPECT_TRUE(q == D3DXQUATERNION(0, 0, 0, 1));
    EXPECT_TRUE(CursorTrackballRotation(window, 0.0f) == D3DXQUATERNION(0, 0, 0, 1));
}

}  // namespace
