// Drawing one frame: the current scene, the text lines and the cursor.
#include "Morvath.h"
#include "d3d_font.h"

HRESULT CSceneApp::DrawFrame() {
    m_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    if (FAILED(m_pDevice->BeginScene())) return S_OK;
    m_pDevice->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);

    // This line lies below the viewport's bottom edge: it is drawn, and does not show.
    if (m_pHudFont != nullptr)
        m_pHudFont->DrawTextScaled(-1.0f, 6.8f, 0.5f, 0.1f, 0.1f, 0xFF00FFFF, "CD3DFont::DrawTextScaled",
                                   FontDrawFlags::CenterX | FontDrawFlags::LinearFilter);
    if (m_currentScene != nullptr) (this->*m_currentScene)();

    // The "Motion blur" text turns about its own centre, then moves to its place, relative to the
    // stack's top as the scene left it.
    if (m_pMatrixStack != nullptr) {
        m_pMatrixStack->Push();
        m_pMatrixStack->TranslateLocal(m_textPosition.x, m_textPosition.y, m_textPosition.z);
        m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
        m_pMatrixStack->RotateYawPitchRollLocal(m_textRotation.yaw, m_textRotation.pitch, m_textRotation.roll);
        m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
        m_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        if (m_pHudFont != nullptr)
            m_pHudFont->DrawTextIn3D("Motion blur", FontDrawFlags::CenterX | FontDrawFlags::CenterY |
                                                        FontDrawFlags::NoCulling | FontDrawFlags::LinearFilter);
        m_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
        m_pMatrixStack->Pop();
        m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
    }

    m_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_cursor.Draw(m_pDevice);
    DrawHud();
    m_pDevice->EndScene();
    return S_OK;
}

HRESULT CSceneApp::DrawTerrainScene() {
    m_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    m_terrain.Draw(m_pDevice);
    return S_OK;
}

// A chain of three wire-frame cubes, each carrying a solid sphere: each cube stays pushed so that the
// next one sits in its frame, and the third sphere is drawn twice, the second 10 units higher.
HRESULT CSceneApp::DrawMeshScene() {
    if (m_pMatrixStack == nullptr) return S_OK;
    m_pDevice->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    m_pMatrixStack->Push();
    m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
    m_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    CMeshObject* const chain[3][2] = {{&m_cube1, &m_sphere1}, {&m_cube2, &m_sphere2}, {&m_cube3, &m_sphere3}};
    for (auto& [cube, sphere] : chain) {
        m_pDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
        cube->Draw(m_pDevice, m_pMatrixStack, false);
        m_pDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        sphere->Draw(m_pDevice, m_pMatrixStack, true);
    }
    m_sphere3.m_position.y += 10.0f;
    m_sphere3.Draw(m_pDevice, m_pMatrixStack, true);
    m_sphere3.m_position.y -= 10.0f;
    for (int i = 0; i < 4; ++i) m_pMatrixStack->Pop();
    m_pDevice->SetTransform(D3DTS_WORLD, m_pMatrixStack->GetTop());
    return S_OK;
}

HRESULT CSceneApp::DrawBlurScene() {
    // The camera is put back at this place on every frame, whatever the update did.
    m_camera.SetEyeLookAtUp(-46.0f, 0.0f, 64.0f, -41.0f, 0.0f, 56.0f, 0.0f, 1.0f, 0.0f);
    m_camera.SetView(m_pDevice);
    m_pDevice->SetRenderState(D3DRS_FOGENABLE, TRUE);
    m_pDevice->SetRenderState(D3DRS_RANGEFOGENABLE, TRUE);
    m_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_pDevice->SetTexture(0, m_pTileTexture);
    if (m_pMatrixStack != nullptr)
        for (CBlurQuad& quad : m_blurQuads) quad.DrawBlurred(m_pDevice, m_pMatrixStack, 5, 50.0f);
    m_pDevice->SetTexture(0, nullptr);
    m_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
    m_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_pDevice->SetRenderState(D3DRS_FOGENABLE, FALSE);
    m_pDevice->SetRenderState(D3DRS_RANGEFOGENABLE, FALSE);
    return S_OK;
}

HRESULT CSceneApp::DrawHud() {
    if (m_pHudFont == nullptr) return S_OK;
    HudLine lines[kHudLineCount];
    FormatHud(lines);
    for (const HudLine& line : lines) m_pHudFont->DrawScreenText(2.0f, line.y, 0xC4FFFFFF, line.text, 0);
    return S_OK;
}

// The frame statistics at the top, then upwards from the bottom edge the arrow keys, the mouse
// buttons and place, the camera and, after an empty line, the placement of the "Motion blur" text.
// Floats are truncated toward zero; %03d keeps a sign inside its field (-5 gives "-05").
void CSceneApp::FormatHud(HudLine (&lines)[kHudLineCount]) const {
    const float h = static_cast<float>(m_backBufferDesc.Height);
    lines[0].y = 0.0f;
    lines[0].text[0] = '\0';
    lstrcpyA(lines[0].text, m_frameStatsText);

    lines[1].y = h - 18.0f;
    wsprintfA(lines[1].text, "Arrow keys: Up=%d Down=%d Left=%d Right=%d", m_input.keyUp, m_input.keyDown,
              m_input.keyLeft, m_input.keyRight);
    lines[2].y = h - 30.0f;
    wsprintfA(lines[2].text, "mouse: L=%d M=%d R=%d", m_input.buttonLeft, m_input.buttonMiddle, m_input.buttonRight);
    lines[3].y = h - 42.0f;
    wsprintfA(lines[3].text, "mouse: x:%03d y:%03d", m_input.cursorX, m_input.cursorY);
    const D3DXVECTOR3& eye = m_camera.m_eye;
    lines[4].y = h - 54.0f;
    wsprintfA(lines[4].text, "camera: x:%03d y:%03d z:%03d", static_cast<int>(eye.x), static_cast<int>(eye.y),
              static_cast<int>(eye.z));
    const D3DXVECTOR3& at = m_camera.m_lookAt;
    lines[5].y = h - 66.0f;
    wsprintfA(lines[5].text, "lookat: x:%03d y:%03d z:%03d", static_cast<int>(at.x), static_cast<int>(at.y),
              static_cast<int>(at.z));
    lines[6].y = h - 90.0f;
    wsprintfA(lines[6].text, "rotation: x:%03d y:%03d z:%03d", static_cast<int>(m_textRotation.yaw),
              static_cast<int>(m_textRotation.pitch), static_cast<int>(m_textRotation.roll));
    lines[7].y = h - 102.0f;
    wsprintfA(lines[7].text, "position: x:%03d y:%03d z:%03d", static_cast<int>(m_textPosition.x),
              static_cast<int>(m_textPosition.y), static_cast<int>(m_textPosition.z));
}
