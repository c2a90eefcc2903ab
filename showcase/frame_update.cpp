// The per-frame update: input polling, held keys and buttons, scene animation.
#include <cstring>

#include "Morvath.h"
#include "dsutil.h"
#include "error_log.h"

namespace {

DWORD Held(BYTE state) { return (state & 0x80) ? 1 : 0; }

}  // namespace

// A frame whose keyboard cannot be read (no keyboard, or another program has the foreground) counts
// as one with nothing held: no key flags, no mouse motion, no buttons, so nothing keeps logging,
// playing or turning in the background.
void CSceneApp::PollInput(InputState* input) {
    std::memset(input->keys, 0, sizeof input->keys);
    if (m_pKeyboard == nullptr || FAILED(m_pKeyboard->GetDeviceState(sizeof input->keys, input->keys))) {
        if (m_pKeyboard != nullptr) m_pKeyboard->Acquire();
        std::memset(input->keys, 0, sizeof input->keys);
        input->keyUp = input->keyDown = input->keyLeft = input->keyRight = input->keyF5 = input->keyF8 = 0;
        std::memset(&input->mouse, 0, sizeof input->mouse);
        input->buttonLeft = input->buttonRight = input->buttonMiddle = 0;
        return;
    }
    input->keyLeft = Held(input->keys[DIK_LEFT]);
    input->keyRight = Held(input->keys[DIK_RIGHT]);
    input->keyUp = Held(input->keys[DIK_UP]);
    input->keyDown = Held(input->keys[DIK_DOWN]);
    input->keyF8 = Held(input->keys[DIK_F8]);
    input->keyF5 = Held(input->keys[DIK_F5]);

    std::memset(&input->mouse, 0, sizeof input->mouse);
    if (m_pMouse == nullptr) {
        input->buttonLeft = input->buttonRight = input->buttonMiddle = 0;
        return;
    }
    // The mouse is first acquired by the failure of its first read.
    if (FAILED(m_pMouse->GetDeviceState(sizeof input->mouse, &input->mouse))) {
        m_pMouse->Acquire();
        return;
    }
    input->buttonLeft = static_cast<BYTE>(Held(input->mouse.rgbButtons[0]));
    input->buttonRight = static_cast<BYTE>(Held(input->mouse.rgbButtons[1]));
    input->buttonMiddle = static_cast<BYTE>(Held(input->mouse.rgbButtons[2]));
}

HRESULT CSceneApp::AdvanceScene() {
    PollInput(&m_input);
    const BYTE* keys = m_input.keys;
    auto down = [keys](int code) { return (keys[code] & 0x80) != 0; };
    const float elapsed = m_elapsedTime;

    if (m_input.keyF8) g_errorLog.Log("Mouse X co-ord: %03d   Y co-ord: %03d", m_input.cursorX, m_input.cursorY);
    m_camera.MoveUp(static_cast<float>(m_input.mouse.lZ) * elapsed);
    if (m_input.buttonRight) {
        m_cube1.m_position.z += static_cast<float>(m_input.mouse.lX) * elapsed * 10.0f;
        m_cube1.m_position.x += static_cast<float>(-m_input.mouse.lY) * elapsed * 10.0f;
    }

    if (down(DIK_W)) m_camera.m_velocity.z += 1.0f;
    if (down(DIK_S)) m_camera.m_velocity.z -= 1.0f;
    if (down(DIK_A)) m_camera.m_velocity.x += 1.0f;
    if (down(DIK_D)) m_camera.m_velocity.x -= 1.0f;
    if (down(DIK_HOME)) m_camera.SetEyeLookAtUp(0.0f, 2.0f, 10.0f, 0.0f, 2.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    if (m_input.buttonLeft) m_camera.MouseLook(&m_input, 0.6f);

    if (down(DIK_T)) m_textPosition.x += 0.1f;
    if (down(DIK_G)) m_textPosition.x -= 0.1f;
    if (down(DIK_F)) m_textPosition.z += 0.1f;
    if (down(DIK_H)) m_textPosition.z -= 0.1f;
    if (down(DIK_R)) m_textPosition.y += 0.1f;
    if (down(DIK_Y)) m_textPosition.y -= 0.1f;
    if (down(DIK_I)) m_textRotation.yaw += 0.1f;
    if (down(DIK_K)) m_textRotation.yaw -= 0.1f;
    if (down(DIK_J)) m_textRotation.roll += 0.1f;
    if (down(DIK_L)) m_textRotation.roll -= 0.1f;
    if (down(DIK_U)) m_textRotation.pitch += 0.1f;
    if (down(DIK_O)) m_textRotation.pitch -= 0.1f;

    // Tested in this order: the last key held wins.
    if (down(DIK_F12)) m_currentScene = &CSceneApp::DrawMeshScene;
    if (down(DIK_F9)) m_currentScene = &CSceneApp::DrawBlurScene;
    if (down(DIK_F11)) m_currentScene = &CSceneApp::DrawTerrainScene;

    if (down(DIK_NUMPAD0)) m_terrain.Flatten();
    if (down(DIK_NUMPAD1)) m_terrain.AddNoise(1.0f);
    if (down(DIK_NUMPAD2)) m_terrain.Smooth();
    if (down(DIK_NUMPAD3)) m_terrain.Normalise(10.0f, true);
    if (down(DIK_NUMPAD4)) m_terrain.AddFaults(5.0f, 1);
    if (down(DIK_NUMPAD5)) m_terrain.AddRandomHill(10.0f, 10.0f);

    // The world placement is always zero, so this world transform is the identity; the stack ends as
    // deep as it began.
    if (m_pMatrixStack != nullptr) {
        m_pMatrixStack->LoadIdentity();
        m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
        m_pMatrixStack->Push();
        m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
        m_pMatrixStack->Translate(m_worldX, m_worldY, 0.0f);
        m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
        m_pMatrixStack->RotateYawPitchRoll(m_worldYaw, m_worldPitch, 0.0f);
        m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
        m_pMatrixStack->Pop();
    }
    m_camera.SetView(m_pDevice);

    // Without a sound device there is no sample, and F5 plays nothing.
    if (m_input.keyF5 && m_pBounceSound != nullptr) m_pBounceSound->Play(0, 0, 1, -1, 0);

    m_cube1.m_rotation.x -= 1.0f * elapsed;
    m_cube2.m_rotation.x += 1.5f * elapsed;
    m_cube3.m_rotation.y -= 1.5f * elapsed;
    m_cube2.m_position.x = 6.0f;
    m_cube3.m_position.x = 3.0f;

    m_terrain.Morph(0.05f);
    m_terrain.RefreshIfDirty(m_pDevice);
    for (CBlurQuad& quad : m_blurQuads) quad.Move(1000.0f, 1000.0f, 1000.0f);
    m_cursor.UpdatePosition(&m_input);
    m_camera.Update(elapsed, 0.95f);
    m_camera.SetView(m_pDevice);
    return S_OK;
}
